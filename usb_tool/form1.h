#pragma once

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "busy_lamp.h"
#include "error_guard.h"
#include "frame_buffer.h"
#include "frame_file.h"
#include "module1.h"
#include "picture_widget.h"
#include "qt_file_chooser.h"
#include "qt_message_sink.h"
#include "qt_text_box.h"
#include "shape_widget.h"

namespace dotwall::usb_tool {

// What the window reaches outside itself; tests put recorders in place.
struct UsbWindowServices {
    MessageSink* messages = nullptr;     // null: real message boxes on the window
    FileChooser* fileChooser = nullptr;  // null: Qt's file dialog
    UsbIoInterface* board = nullptr;     // null: the board's library, bound by file name
    std::filesystem::path frameFilePath = defaultFrameFilePath();
};

// The DotwallUsb window: the picture, the buttons and the busy lamp. It owns the frame
// buffer and wires each control's event to the logic, through the error guard.
class Form1 final : public QMainWindow, private BusyLamp {
    Q_OBJECT

  public:
    explicit Form1(UsbWindowServices services = {}, QWidget* parent = nullptr);

    const FrameBuffer& frameBuffer() const { return frameBuffer_; }

  private:
    void createControls();
    void createMenu();
    void setTabOrder();
    // Connects an event to its handler through the error guard.
    template <typename Sender, typename Signal>
    void wire(Sender* sender, Signal signal, void (Form1::*handler)());

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void m_open_Click();
    void Picture1_MouseMove(float x, float y);

    void setLampColour(ColourValue colour) override;
    void repaintWindowNow() override;

    QtMessageSink windowMessages_;
    QtFileChooser windowFileChooser_;
    Module1 boardLibrary_;
    UsbWindowServices services_;
    ErrorGuard guard_;
    FrameBuffer frameBuffer_;

    QWidget* client_ = nullptr;
    QFrame* Frame1 = nullptr;
    PictureWidget* Picture1 = nullptr;
    ShapeWidget* Shape1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QLineEdit* Text9 = nullptr;
    QLineEdit* Text10 = nullptr;
    QMenu* menu = nullptr;
    QAction* m_open = nullptr;
    QAction* m_exit = nullptr;

    // The I2C operand and result boxes as the board commands see them.
    std::unique_ptr<QtTextBox<QLineEdit>> Text5Box, Text6Box, Text7Box, Text8Box, Text9Box,
        Text10Box;
};

}  // namespace dotwall::usb_tool

#pragma once

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "frames/frame_buffer.h"
#include "frames/frame_file.h"
#include "usb_tool/board_binding.h"
#include "usb_tool/shape_widget.h"
#include "widgets/error_guard.h"
#include "widgets/picture_widget.h"
#include "widgets/qt_file_chooser.h"
#include "widgets/qt_message_sink.h"

namespace dotwall::usb_tool {

// What the window reaches outside itself; tests put recorders in place.
struct UsbWindowServices {
    MessageSink* messages = nullptr;     // null: real message boxes on the window
    FileChooser* fileChooser = nullptr;  // null: Qt's file dialog
    std::filesystem::path frameFilePath = defaultFrameFilePath();
};

// The DotwallUsb window: the picture, the buttons and the busy lamp. It owns the frame
// buffer and wires each control's event to the logic, through the error guard.
class Form1 final : public QMainWindow {
    Q_OBJECT

  public:
    explicit Form1(UsbWindowServices services = {}, QWidget* parent = nullptr);

  private:
    void createControls();
    void createMenu();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void m_open_Click();
    void Picture1_MouseMove(float x, float y);

    QtMessageSink windowMessages_;
    QtFileChooser windowFileChooser_;
    UsbWindowServices services_;
    ErrorGuard guard_;
    BoardBinding boardLibrary_;
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
};

}  // namespace dotwall::usb_tool

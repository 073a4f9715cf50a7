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

    void convert();
    void sendFrameStartToBoard();
    void save();
    void readI2cFromBoxes();
    void writeI2cFromBox();
    void openPicture();
    void showPointUnder(float x, float y);

    QtMessageSink windowMessages_;
    QtFileChooser windowFileChooser_;
    UsbWindowServices services_;
    ErrorGuard guard_;
    BoardBinding boardLibrary_;
    FrameBuffer frameBuffer_;

    QWidget* client_ = nullptr;
    QFrame* pictureFrame_ = nullptr;
    PictureWidget* pictureArea_ = nullptr;
    ShapeWidget* busyLamp_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    QPushButton* usbButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* i2cReadButton_ = nullptr;
    QPushButton* i2cWriteButton_ = nullptr;
    QPlainTextEdit* pathText_ = nullptr;
    QLineEdit* xText_ = nullptr;
    QLineEdit* yText_ = nullptr;
    QLineEdit* colourText_ = nullptr;
    QLineEdit* i2cReadFirst_ = nullptr;
    QLineEdit* i2cReadSecond_ = nullptr;
    QLineEdit* i2cReadThird_ = nullptr;
    QLineEdit* i2cReadFourth_ = nullptr;
    QLineEdit* i2cWriteValue_ = nullptr;
    QLineEdit* resultText_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* exitAction_ = nullptr;
};

}  // namespace dotwall::usb_tool

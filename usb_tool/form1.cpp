#include "usb_tool/form1.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMenuBar>

#include "base/decimal_text.h"
#include "frames/dual_scan_frame.h"
#include "picture/picture_loader.h"
#include "usb_tool/usb_commands.h"
#include "widgets/window_controls.h"

namespace dotwall::usb_tool {

namespace {

constexpr int kClientWidth = 816;
constexpr int kClientHeight = 528;

// The busy lamp while the window thread packs: red, with a forced repaint of the window so
// that it shows, and back to the window-background colour when the conversion ends, however
// it ends. No forced repaint then: the window repaints the lamp when it next takes events.
class LampLitWhileBusy {
  public:
    LampLitWhileBusy(ShapeWidget* lamp, QWidget* window) : lamp_(lamp) {
        lamp_->setBackColour(kPureRed);
        window->repaint();
    }
    ~LampLitWhileBusy() { lamp_->setBackColour(kWindowBackground); }
    LampLitWhileBusy(const LampLitWhileBusy&) = delete;
    LampLitWhileBusy& operator=(const LampLitWhileBusy&) = delete;

  private:
    ShapeWidget* lamp_;
};

}  // namespace

Form1::Form1(UsbWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      windowMessages_(this),
      windowFileChooser_(this),
      services_(std::move(services)),
      guard_(services_.messages != nullptr ? *services_.messages : windowMessages_,
             kWindowCaption) {
    setObjectName("Form1");
    setWindowTitle(kWindowCaption);
    setWindowIcon(QIcon(":/dotwall_usb/icon.ico"));
    if (services_.fileChooser == nullptr) {
        services_.fileChooser = &windowFileChooser_;
    }
    // Each control keeps its original name as its object name, by which tests find it.
    createControls();
    createMenu();
    chainTabOrder({convertButton_, pictureArea_, pathText_, xText_, yText_, colourText_, usbButton_,
                   saveButton_, i2cReadButton_, i2cReadFirst_, i2cWriteButton_, i2cWriteValue_,
                   i2cReadSecond_, i2cReadThird_, i2cReadFourth_, resultText_});

    wire(guard_, convertButton_, &QPushButton::clicked, this, [this] { convert(); });
    wire(guard_, usbButton_, &QPushButton::clicked, this, [this] { sendFrameStartToBoard(); });
    wire(guard_, saveButton_, &QPushButton::clicked, this, [this] { save(); });
    wire(guard_, i2cReadButton_, &QPushButton::clicked, this, [this] { readI2cFromBoxes(); });
    wire(guard_, i2cWriteButton_, &QPushButton::clicked, this, [this] { writeI2cFromBox(); });
    wire(guard_, openAction_, &QAction::triggered, this, [this] { openPicture(); });
    // The menu says Exit, so it closes the window, which ends the program.
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);
    connect(pictureArea_, &PictureWidget::mouseMovedTo, this,
            [this](float x, float y) { guard_.run([&] { showPointUnder(x, y); }); });
}

void Form1::createMenu() {
    fileMenu_ = menuBar()->addMenu("File");
    fileMenu_->setObjectName("menu");
    openAction_ = fileMenu_->addAction("Open");
    openAction_->setObjectName("m_open");
    openAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    exitAction_ = fileMenu_->addAction("Exit");
    exitAction_->setObjectName("m_exit");
}

void Form1::createControls() {
    client_ = new QWidget(this);
    client_->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client_);

    // The sunken frame lies beneath every control that is not its child; it is created first so the
    // others stack above it and take their clicks over it.
    pictureFrame_ = makeControl<QFrame>(client_, "Frame1", {0, 0, 9855, 7935});
    pictureFrame_->setFrameShape(QFrame::Box);
    pictureFrame_->setFrameShadow(QFrame::Sunken);
    usbButton_ = makeButton(pictureFrame_, "Command2", "USB", {1080, 7440, 855, 375});
    saveButton_ = makeButton(pictureFrame_, "Command3", "Save", {2040, 7440, 855, 375});
    busyLamp_ = makeControl<ShapeWidget>(pictureFrame_, "Shape1", {7080, 7440, 375, 375});

    convertButton_ = makeButton(client_, "Command1", "Convert", {120, 7440, 855, 375});
    pictureArea_ =
        new PictureWidget(dual_scan::kPictureAreaSize, dual_scan::kPictureBackground, client_);
    pictureArea_->setObjectName("Picture1");
    pictureArea_->move(twipsToPixels(120), twipsToPixels(135));
    pictureArea_->setFocusPolicy(Qt::TabFocus);
    pictureArea_->setPicture(QImage(":/dotwall_usb/default_picture.bmp"));

    pathText_ = makeMultiLineBox(client_, "Text1", "buferis\r\n", {9120, 7440, 615, 285});
    pathText_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pathText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    xText_ = makeTextBox(client_, "Text2", "X", {7560, 7440, 375, 285}, "X koordinate");
    yText_ = makeTextBox(client_, "Text3", "Y", {8040, 7440, 375, 285}, "Y koordinate");
    colourText_ = makeTextBox(client_, "Text4", "color", {8520, 7440, 495, 285}, "Spalva");

    i2cReadButton_ = makeButton(client_, "Command4", "I2C read", {9960, 1320, 855, 375});
    i2cReadFirst_ = makeTextBox(client_, "Text5", "0", {10920, 1320, 495, 285});
    i2cWriteButton_ = makeButton(client_, "Command5", "I2CWrite", {9960, 840, 855, 375});
    i2cWriteValue_ = makeTextBox(client_, "Text6", "0", {10920, 840, 495, 285});
    i2cReadSecond_ = makeTextBox(client_, "Text7", "55", {10920, 1800, 495, 285});
    i2cReadThird_ = makeTextBox(client_, "Text8", "55", {11040, 2280, 615, 285});
    i2cReadFourth_ = makeTextBox(client_, "Text9", "55", {11040, 2880, 735, 375});
    resultText_ = makeTextBox(client_, "Text10", "Text10", {10080, 3480, 1575, 375});
}

void Form1::convert() {
    const LampLitWhileBusy busy(busyLamp_, this);
    frameBuffer_ = dual_scan::pack(pictureArea_->area());
}

void Form1::sendFrameStartToBoard() {
    showText(resultText_, decimalText(sendFrameStart(frameBuffer_, boardLibrary_)));
}

void Form1::save() {
    writeFrameFile(frameBuffer_, services_.frameFilePath);
}

void Form1::readI2cFromBoxes() {
    const I2cReadOperands operands{
        i2cReadFirst_->text().toStdString(), i2cReadSecond_->text().toStdString(),
        i2cReadThird_->text().toStdString(), i2cReadFourth_->text().toStdString()};
    showText(resultText_, decimalText(readI2c(operands, boardLibrary_)));
}

void Form1::writeI2cFromBox() {
    showText(resultText_,
             decimalText(writeI2c(i2cWriteValue_->text().toStdString(), boardLibrary_)));
}

void Form1::openPicture() {
    const std::string path = services_.fileChooser->chooseFileToOpen(
        "Open", {{"Bitmap (*.bmp)", {"*.bmp"}}, {"All Files (*.*)", {"*"}}});
    if (path.empty()) {
        return;
    }
    // Load first: a file that fails leaves the picture and its name as they were.
    const QImage picture = loadMonochromePicture(path);
    pathText_->setPlainText(QFile::decodeName(path.c_str()));
    pictureArea_->setPicture(picture);
    repaint();
}

void Form1::showPointUnder(float x, float y) {
    showText(xText_, floorDecimalText(x));
    showText(yText_, floorDecimalText(y));
    showText(colourText_, decimalText(pictureArea_->area().pointColour(x, y)));
}

}  // namespace dotwall::usb_tool

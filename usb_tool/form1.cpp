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
    createControls();
    createMenu();
    chainTabOrder({Command1, Picture1, Text1, Text2, Text3, Text4, Command2, Command3, Command4,
                   Text5, Command5, Text6, Text7, Text8, Text9, Text10});

    wire(guard_, Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    wire(guard_, Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    wire(guard_, Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    wire(guard_, Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    wire(guard_, Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    wire(guard_, m_open, &QAction::triggered, this, [this] { m_open_Click(); });
    // The menu says Exit, so it closes the window, which ends the program.
    connect(m_exit, &QAction::triggered, this, &QWidget::close);
    connect(Picture1, &PictureWidget::mouseMovedTo, this,
            [this](float x, float y) { guard_.run([&] { Picture1_MouseMove(x, y); }); });
}

void Form1::createMenu() {
    menu = menuBar()->addMenu("File");
    menu->setObjectName("menu");
    m_open = menu->addAction("Open");
    m_open->setObjectName("m_open");
    m_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_exit = menu->addAction("Exit");
    m_exit->setObjectName("m_exit");
}

void Form1::createControls() {
    client_ = new QWidget(this);
    client_->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client_);

    // Frame1 lies beneath every control that is not its child; it is created first so the
    // others stack above it and take their clicks over it.
    Frame1 = makeControl<QFrame>(client_, "Frame1", {0, 0, 9855, 7935});
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    Command2 = makeButton(Frame1, "Command2", "USB", {1080, 7440, 855, 375});
    Command3 = makeButton(Frame1, "Command3", "Save", {2040, 7440, 855, 375});
    Shape1 = makeControl<ShapeWidget>(Frame1, "Shape1", {7080, 7440, 375, 375});

    Command1 = makeButton(client_, "Command1", "Convert", {120, 7440, 855, 375});
    Picture1 =
        new PictureWidget(dual_scan::kPictureAreaSize, dual_scan::kPictureBackground, client_);
    Picture1->setObjectName("Picture1");
    Picture1->move(twipsToPixels(120), twipsToPixels(135));
    Picture1->setFocusPolicy(Qt::TabFocus);
    Picture1->setPicture(QImage(":/dotwall_usb/default_picture.bmp"));

    Text1 = makeMultiLineBox(client_, "Text1", "buferis\r\n", {9120, 7440, 615, 285});
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text2 = makeTextBox(client_, "Text2", "X", {7560, 7440, 375, 285}, "X koordinate");
    Text3 = makeTextBox(client_, "Text3", "Y", {8040, 7440, 375, 285}, "Y koordinate");
    Text4 = makeTextBox(client_, "Text4", "color", {8520, 7440, 495, 285}, "Spalva");

    Command4 = makeButton(client_, "Command4", "I2C read", {9960, 1320, 855, 375});
    Text5 = makeTextBox(client_, "Text5", "0", {10920, 1320, 495, 285});
    Command5 = makeButton(client_, "Command5", "I2CWrite", {9960, 840, 855, 375});
    Text6 = makeTextBox(client_, "Text6", "0", {10920, 840, 495, 285});
    Text7 = makeTextBox(client_, "Text7", "55", {10920, 1800, 495, 285});
    Text8 = makeTextBox(client_, "Text8", "55", {11040, 2280, 615, 285});
    Text9 = makeTextBox(client_, "Text9", "55", {11040, 2880, 735, 375});
    Text10 = makeTextBox(client_, "Text10", "Text10", {10080, 3480, 1575, 375});
}

void Form1::Command1_Click() {
    const LampLitWhileBusy busy(Shape1, this);
    frameBuffer_ = dual_scan::pack(Picture1->area());
}

void Form1::Command2_Click() {
    showText(Text10, decimalText(sendFrameStart(frameBuffer_, boardLibrary_)));
}

void Form1::Command3_Click() {
    writeFrameFile(frameBuffer_, services_.frameFilePath);
}

void Form1::Command4_Click() {
    const I2cReadTexts texts{Text5->text().toStdString(), Text7->text().toStdString(),
                             Text8->text().toStdString(), Text9->text().toStdString()};
    showText(Text10, decimalText(readI2c(texts, boardLibrary_)));
}

void Form1::Command5_Click() {
    showText(Text10, decimalText(writeI2c(Text6->text().toStdString(), boardLibrary_)));
}

void Form1::m_open_Click() {
    const std::string path = services_.fileChooser->chooseFileToOpen(
        "Open", {{"Bitmap (*.bmp)", {"*.bmp"}}, {"All Files (*.*)", {"*"}}});
    if (path.empty()) {
        return;
    }
    // Load first: a file that fails leaves the picture and its name as they were.
    const QImage picture = loadMonochromePicture(path);
    Text1->setPlainText(QFile::decodeName(path.c_str()));
    Picture1->setPicture(picture);
    repaint();
}

void Form1::Picture1_MouseMove(float x, float y) {
    showText(Text2, floorDecimalText(x));
    showText(Text3, floorDecimalText(y));
    showText(Text4, decimalText(Picture1->area().pointColour(x, y)));
}

}  // namespace dotwall::usb_tool

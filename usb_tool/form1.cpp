#include "form1.h"

#include <QIcon>
#include <QImage>
#include <QMenuBar>

#include "decimal_text.h"
#include "dual_scan_packer.h"
#include "picture_loader.h"
#include "twips_layout.h"
#include "usb_commands.h"
#include "usb_picture_area.h"

namespace dotwall::usb_tool {

namespace {

constexpr const char* kCaption = "Dotwall";
constexpr int kClientWidth = 816;
constexpr int kClientHeight = 528;

template <typename Control>
Control* makeControl(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    placeInTwips(control, left, top, width, height);
    return control;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, int left, int top,
                        int width, int height) {
    auto* button = makeControl<QPushButton>(parent, name, left, top, width, height);
    button->setText(caption);
    return button;
}

QLineEdit* makeTextBox(QWidget* parent, const char* name, const char* text, int left, int top,
                       int width, int height, const char* toolTip = nullptr) {
    auto* box = makeControl<QLineEdit>(parent, name, left, top, width, height);
    box->setText(text);
    if (toolTip != nullptr) {
        box->setToolTip(toolTip);
    }
    return box;
}

}  // namespace

Form1::Form1(UsbWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      windowMessages_(this),
      windowFileChooser_(this),
      services_(std::move(services)),
      guard_(services_.messages != nullptr ? *services_.messages : windowMessages_, kCaption) {
    setObjectName("Form1");
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(":/dotwall_usb/icon.ico"));
    if (services_.fileChooser == nullptr) {
        services_.fileChooser = &windowFileChooser_;
    }
    if (services_.board == nullptr) {
        services_.board = &boardLibrary_;
    }
    createControls();
    createMenu();
    setTabOrder();

    wire(Command1, &QPushButton::clicked, &Form1::Command1_Click);
    wire(Command2, &QPushButton::clicked, &Form1::Command2_Click);
    wire(Command3, &QPushButton::clicked, &Form1::Command3_Click);
    wire(Command4, &QPushButton::clicked, &Form1::Command4_Click);
    wire(Command5, &QPushButton::clicked, &Form1::Command5_Click);
    wire(m_open, &QAction::triggered, &Form1::m_open_Click);
    // The menu says Exit, so it closes the window, which ends the program.
    connect(m_exit, &QAction::triggered, this, &QWidget::close);
    connect(Picture1, &PictureWidget::mouseMovedTo, this,
            [this](float x, float y) { guard_.run([&] { Picture1_MouseMove(x, y); }); });
}

template <typename Sender, typename Signal>
void Form1::wire(Sender* sender, Signal signal, void (Form1::*handler)()) {
    connect(sender, signal, this, [this, handler] { guard_.run([&] { (this->*handler)(); }); });
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
    Frame1 = makeControl<QFrame>(client_, "Frame1", 0, 0, 9855, 7935);
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    Command2 = makeButton(Frame1, "Command2", "USB", 1080, 7440, 855, 375);
    Command3 = makeButton(Frame1, "Command3", "Save", 2040, 7440, 855, 375);
    Shape1 = makeControl<ShapeWidget>(Frame1, "Shape1", 7080, 7440, 375, 375);
    Shape1->setBackColour(kWindowBackground);

    Command1 = makeButton(client_, "Command1", "Convert", 120, 7440, 855, 375);
    Picture1 = new PictureWidget(kUsbPictureArea, kUsbPictureBackground, client_);
    Picture1->setObjectName("Picture1");
    Picture1->move(twipsToPixels(120), twipsToPixels(135));
    Picture1->setFocusPolicy(Qt::TabFocus);
    Picture1->setPicture(QImage(":/dotwall_usb/default_picture.bmp"));

    Text1 = makeControl<QPlainTextEdit>(client_, "Text1", 9120, 7440, 615, 285);
    Text1->setPlainText("buferis\r\n");
    Text1->setTabChangesFocus(true);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text2 = makeTextBox(client_, "Text2", "X", 7560, 7440, 375, 285, "X koordinate");
    Text3 = makeTextBox(client_, "Text3", "Y", 8040, 7440, 375, 285, "Y koordinate");
    Text4 = makeTextBox(client_, "Text4", "color", 8520, 7440, 495, 285, "Spalva");

    Command4 = makeButton(client_, "Command4", "I2C read", 9960, 1320, 855, 375);
    Text5 = makeTextBox(client_, "Text5", "0", 10920, 1320, 495, 285);
    Command5 = makeButton(client_, "Command5", "I2CWrite", 9960, 840, 855, 375);
    Text6 = makeTextBox(client_, "Text6", "0", 10920, 840, 495, 285);
    Text7 = makeTextBox(client_, "Text7", "55", 10920, 1800, 495, 285);
    Text8 = makeTextBox(client_, "Text8", "55", 11040, 2280, 615, 285);
    Text9 = makeTextBox(client_, "Text9", "55", 11040, 2880, 735, 375);
    Text10 = makeTextBox(client_, "Text10", "Text10", 10080, 3480, 1575, 375);
    Text5Box = std::make_unique<QtTextBox<QLineEdit>>(Text5);
    Text6Box = std::make_unique<QtTextBox<QLineEdit>>(Text6);
    Text7Box = std::make_unique<QtTextBox<QLineEdit>>(Text7);
    Text8Box = std::make_unique<QtTextBox<QLineEdit>>(Text8);
    Text9Box = std::make_unique<QtTextBox<QLineEdit>>(Text9);
    Text10Box = std::make_unique<QtTextBox<QLineEdit>>(Text10);
}

void Form1::setTabOrder() {
    QWidget* const order[] = {Command1, Picture1, Text1,    Text2, Text3, Text4, Command2, Command3,
                              Command4, Text5,    Command5, Text6, Text7, Text8, Text9,    Text10};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void Form1::Command1_Click() {
    convertDualScan(*Picture1, *this, frameBuffer_);
}

void Form1::Command2_Click() {
    sendFrameStart(frameBuffer_, *services_.board, *Text10Box);
}

void Form1::Command3_Click() {
    writeFrameFile(frameBuffer_, services_.frameFilePath);
}

void Form1::Command4_Click() {
    readI2c({*Text5Box, *Text7Box, *Text8Box, *Text9Box}, *services_.board, *Text10Box);
}

void Form1::Command5_Click() {
    writeI2c(*Text6Box, *services_.board, *Text10Box);
}

void Form1::m_open_Click() {
    const std::string path = services_.fileChooser->chooseFileToOpen(
        "Open", {{"Bitmap (*.bmp)", {"*.bmp"}}, {"All Files (*.*)", {"*"}}});
    if (path.empty()) {
        return;
    }
    // Load first: a file that fails leaves the picture and its name as they were.
    const QImage picture = loadMonochromePicture(QString::fromStdString(path));
    Text1->setPlainText(QString::fromStdString(path));
    Picture1->setPicture(picture);
    repaint();
}

void Form1::Picture1_MouseMove(float x, float y) {
    showText(Text2, floorDecimalText(x));
    showText(Text3, floorDecimalText(y));
    showText(Text4, decimalText(Picture1->pointColour(x, y)));
}

void Form1::setLampColour(ColourValue colour) {
    Shape1->setBackColour(colour);
}

void Form1::repaintWindowNow() {
    repaint();
}

}  // namespace dotwall::usb_tool

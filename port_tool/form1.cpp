#include "form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>

#include "frame_stream.h"
#include "grid_probe.h"
#include "lpt_picture_area.h"
#include "runtime_error.h"
#include "single_scan_packer.h"
#include "twips_layout.h"

namespace dotwall::port_tool {

namespace {

constexpr const char* kCaption = "Dotwall";
constexpr int kClientWidth = 673;
constexpr int kClientHeight = 418;
constexpr const char* kDriverFailedTitle = "Kelvane32";
constexpr const char* kDriverFailedText = "Whoops ! There is a problem with InitializeWinIo.";
// Written once after the stream stops, so no latch or clock line is left high.
constexpr std::uint8_t kAllLinesLow = 0;

template <typename Control>
Control* makeControl(QWidget* parent, const char* name, const char* text, int left, int top,
                     int width, int height) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    if constexpr (std::is_same_v<Control, QPlainTextEdit>) {
        control->setPlainText(text);
    } else {
        control->setText(text);
    }
    placeInTwips(control, left, top, width, height);
    return control;
}

}  // namespace

Form1::Form1(LptWindowServices services, QWidget* parent)
    : QWidget(parent),
      windowMessages_(this),
      services_(std::move(services)),
      messages_(services_.messages != nullptr ? *services_.messages : windowMessages_),
      guard_(messages_, kCaption),
      module1_(services_.winIoFileName),
      port_(module1_) {
    setObjectName("Form1");
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(":/dotwall_lpt/icon.ico"));
    setFixedSize(kClientWidth, kClientHeight);
    createControls();
    setTabOrder();
    showStreaming(false);

    auto wire = [this](QPushButton* button, void (Form1::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { guard_.run([&] { (this->*handler)(); }); });
    };
    wire(Command1, &Form1::Command1_Click);
    wire(paleisk, &Form1::paleisk_Click);
    wire(Command2, &Form1::Command2_Click);
    connect(Picture1, &PictureWidget::mouseMovedTo, this,
            [this](float x, float y) { guard_.run([&] { Picture1_MouseMove(x, y); }); });
}

Form1::~Form1() {
    Form_Unload();
}

void Form1::createControls() {
    paleisk = makeControl<QPushButton>(this, "paleisk", "GO!", 240, 5520, 1455, 495);
    Command1 = makeControl<QPushButton>(this, "Command1", "Convert", 240, 4920, 975, 375);
    // Stop sits right of Convert, in the column of Text3 and just above GO!, the one free
    // spot beside the stream's own button.
    Command2 = makeControl<QPushButton>(this, "Command2", "Stop", 1320, 4920, 855, 375);

    Picture1 = new PictureWidget(kLptPictureArea, kLptPictureBackground, this);
    Picture1->setObjectName("Picture1");
    Picture1->move(twipsToPixels(120), twipsToPixels(120));
    Picture1->setFocusPolicy(Qt::TabFocus);
    Picture1->setPicture(QImage(":/dotwall_lpt/default_picture.bmp"));

    Text1 = makeControl<QPlainTextEdit>(this, "Text1", "Text1", 2280, 4080, 7575, 2055);
    Text1->setTabChangesFocus(true);
    Text1Box = std::make_unique<QtTextBox<QPlainTextEdit>>(Text1);
    Text2 = makeControl<QLineEdit>(this, "Text2", "Text2", 240, 3960, 975, 285);
    Text3 = makeControl<QLineEdit>(this, "Text3", "Text3", 1320, 3960, 855, 285);
    Text4 = makeControl<QLineEdit>(this, "Text4", "Text4", 240, 4440, 1575, 285);
}

void Form1::setTabOrder() {
    QWidget* const order[] = {paleisk, Command1, Picture1, Text1, Text2, Text3, Text4, Command2};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

LoadOutcome Form1::Form_Load() {
    std::int16_t started = 0;
    try {
        started = module1_.InitializeWinIo();
    } catch (const RuntimeError&) {
        // Without the library there is no driver to stop either.
        unloaded_ = true;
        messages_.showCritical(kCaption, describeCurrentException());
        return LoadOutcome::LibraryMissing;
    }
    if (started == 0) {
        messages_.showCritical(kDriverFailedTitle, kDriverFailedText);
        Form_Unload();
        return LoadOutcome::DriverFailed;
    }
    return LoadOutcome::Started;
}

// Stops the port driver, once, whether or not it started.
void Form1::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    guard_.run([this] { module1_.ShutdownWinIo(); });
}

void Form1::closeEvent(QCloseEvent* event) {
    if (streaming_) {
        // The stream ends after the frame being sent, and then the window closes.
        stopRequested_ = true;
        closeAfterStream_ = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void Form1::Command1_Click() {
    convertSingleScan(*Picture1, *Text1Box, frameBuffer_);
}

void Form1::paleisk_Click() {
    stopRequested_ = false;
    showStreaming(true);
    try {
        // Between two frames the window takes its pending events, Stop's click among them;
        // a frame is never cut in the middle.
        streamFrames(frameBuffer_, port_, [this] {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return stopRequested_;
        });
        port_.write(kAllLinesLow);
    } catch (...) {
        showStreaming(false);
        throw;
    }
    showStreaming(false);
    if (closeAfterStream_) {
        close();
    }
}

void Form1::Command2_Click() {
    stopRequested_ = true;
}

void Form1::showStreaming(bool streaming) {
    streaming_ = streaming;
    // The frame cannot change while it is sent, and one stream at a time.
    Command1->setEnabled(!streaming);
    paleisk->setEnabled(!streaming);
    Command2->setEnabled(streaming);
}

void Form1::Picture1_MouseMove(float x, float y) {
    const GridProbeReading reading = probeGrid(*Picture1, x, y);
    showText(Text2, reading.column);
    showText(Text3, reading.line);
    showText(Text4, reading.colour);
}

}  // namespace dotwall::port_tool

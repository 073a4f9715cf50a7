#include "lpt_tool/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QImage>

#include "base/decimal_text.h"
#include "base/runtime_error.h"
#include "frames/single_scan_frame.h"
#include "lpt_tool/grid_probe.h"
#include "picture/picture_loader.h"
#include "widgets/window_controls.h"

namespace dotwall::lpt_tool {

namespace {

constexpr int kClientWidth = 673;
constexpr int kClientHeight = 418;
constexpr const char* kDriverFailedTitle = "Kelvane32";
constexpr std::chrono::milliseconds kFrameRateInterval{1000};

}  // namespace

Form1::Form1(LptWindowServices services, QWidget* parent)
    : QWidget(parent),
      windowMessages_(this),
      services_(std::move(services)),
      messages_(services_.messages != nullptr ? *services_.messages : windowMessages_),
      guard_(messages_, kWindowCaption),
      port_(services_.winIoFileName),
      refresh_(port_, [this](std::exception_ptr failure) {
          QMetaObject::invokeMethod(
              this, [this, failure] { streamEnded(failure); }, Qt::QueuedConnection);
      }) {
    setObjectName("Form1");
    setWindowTitle(kWindowCaption);
    setWindowIcon(QIcon(":/dotwall_lpt/icon.ico"));
    setFixedSize(kClientWidth, kClientHeight);
    createControls();
    chainTabOrder({paleisk, Command1, Picture1, Text1, Text2, Text3, Text4, Command2});
    showStreaming(false);

    wire(guard_, Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    wire(guard_, paleisk, &QPushButton::clicked, this, [this] { paleisk_Click(); });
    wire(guard_, Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Picture1, &PictureWidget::mouseMovedTo, this,
            [this](float x, float y) { guard_.run([&] { Picture1_MouseMove(x, y); }); });
    Picture1->setAcceptDrops(true);
    connect(Picture1, &PictureWidget::fileDropped, this,
            [this](const QString& path) { openPicture(QFile::encodeName(path).toStdString()); });
    frameRateTimer_.setInterval(kFrameRateInterval);
    connect(&frameRateTimer_, &QTimer::timeout, this, &Form1::showFrameRate);
}

Form1::~Form1() {
    refresh_.requestStop();
    refresh_.join();
    Form_Unload();
}

void Form1::createControls() {
    paleisk = makeButton(this, "paleisk", "GO!", {240, 5520, 1455, 495});
    Command1 = makeButton(this, "Command1", "Convert", {240, 4920, 975, 375});
    // Stop sits right of Convert, in the column of Text3 and just above GO!, the one free
    // spot beside the stream's own button.
    Command2 = makeButton(this, "Command2", "Stop", {1320, 4920, 855, 375});

    Picture1 =
        new PictureWidget(single_scan::kPictureAreaSize, single_scan::kPictureBackground, this);
    Picture1->setObjectName("Picture1");
    Picture1->move(twipsToPixels(120), twipsToPixels(120));
    Picture1->setFocusPolicy(Qt::TabFocus);
    Picture1->setPicture(QImage(":/dotwall_lpt/default_picture.bmp"));

    Text1 = makeMultiLineBox(this, "Text1", "Text1", {2280, 4080, 7575, 2055});
    Text2 = makeTextBox(this, "Text2", "Text2", {240, 3960, 975, 285});
    Text3 = makeTextBox(this, "Text3", "Text3", {1320, 3960, 855, 285});
    Text4 = makeTextBox(this, "Text4", "Text4", {240, 4440, 1575, 285});
}

LoadOutcome Form1::Form_Load() {
    bool started = false;
    try {
        started = port_.start();
    } catch (const RuntimeError&) {
        // Without the library there is no driver to stop either.
        unloaded_ = true;
        messages_.showCritical(kWindowCaption, describeCurrentException());
        return LoadOutcome::LibraryMissing;
    }
    if (!started) {
        messages_.showCritical(kDriverFailedTitle, port_stream::kDriverFailedText);
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
    guard_.run([this] { port_.stop(); });
}

void Form1::openPicture(const std::filesystem::path& path) {
    guard_.run([&] { Picture1->setPicture(loadMonochromePicture(path)); });
}

void Form1::closeEvent(QCloseEvent* event) {
    if (refresh_.running()) {
        closeWhenStreamEnds_ = true;
        refresh_.requestStop();
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void Form1::Command1_Click() {
    PanelFrame frame = single_scan::sample(profile_, Picture1->area());
    QString dump = Text1->toPlainText();
    for (std::size_t i = 0; i < single_scan::kDumpedBytes; ++i) {
        dump += " " + QString::fromStdString(signedNumberText(frame.bytes[i]));
    }
    Text1->setPlainText(dump);
    single_scan::stampTestMark(profile_, frame);
    frame_ = std::move(frame);
    if (refresh_.running()) {
        refresh_.replaceFrame(frame_);
    }
}

void Form1::paleisk_Click() {
    const port_stream::RealTimeGrant grant = refresh_.start(profile_, frame_);
    showStreaming(true);
    framesAtLastTick_ = 0;
    lastTick_ = std::chrono::steady_clock::now();
    frameRateTimer_.start();
    if (!grant.refused.empty() && !std::exchange(priorityNoted_, true)) {
        messages_.showNote(kWindowCaption, port_stream::describe(grant));
    }
}

void Form1::Command2_Click() {
    refresh_.requestStop();
}

void Form1::streamEnded(std::exception_ptr failure) {
    refresh_.join();
    frameRateTimer_.stop();
    setWindowTitle(kWindowCaption);
    showStreaming(false);
    if (failure) {
        guard_.run([&] { std::rethrow_exception(failure); });
    }
    if (std::exchange(closeWhenStreamEnds_, false)) {
        close();
    }
}

void Form1::showFrameRate() {
    const long frames = refresh_.framesSent();
    const auto now = std::chrono::steady_clock::now();
    const double perSecond = static_cast<double>(frames - framesAtLastTick_) /
                             std::chrono::duration<double>(now - lastTick_).count();
    framesAtLastTick_ = frames;
    lastTick_ = now;
    setWindowTitle(QString("%1 - %2 frames/s").arg(kWindowCaption).arg(perSecond, 0, 'f', 1));
}

void Form1::showStreaming(bool streaming) {
    // One stream at a time; Convert hands the stream its new frame.
    paleisk->setEnabled(!streaming);
    Command2->setEnabled(streaming);
}

void Form1::Picture1_MouseMove(float x, float y) {
    const GridProbeReading reading = probeGrid(Picture1->area(), x, y);
    showText(Text2, reading.column);
    showText(Text3, reading.line);
    showText(Text4, reading.colour);
}

}  // namespace dotwall::lpt_tool

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
    // Each control keeps its original name as its object name, by which tests find it.
    createControls();
    chainTabOrder({goButton_, convertButton_, pictureArea_, dumpText_, columnText_, lineText_,
                   colourText_, stopButton_});
    showStreaming(false);

    wire(guard_, convertButton_, &QPushButton::clicked, this, [this] { convert(); });
    wire(guard_, goButton_, &QPushButton::clicked, this, [this] { startStream(); });
    wire(guard_, stopButton_, &QPushButton::clicked, this, [this] { stopStream(); });
    connect(pictureArea_, &PictureWidget::mouseMovedTo, this,
            [this](float x, float y) { guard_.run([&] { showGridUnder(x, y); }); });
    pictureArea_->setAcceptDrops(true);
    connect(pictureArea_, &PictureWidget::fileDropped, this,
            [this](const QString& path) { openPicture(QFile::encodeName(path).toStdString()); });
    frameRateTimer_.setInterval(kFrameRateInterval);
    connect(&frameRateTimer_, &QTimer::timeout, this, &Form1::showFrameRate);
}

Form1::~Form1() {
    refresh_.requestStop();
    refresh_.join();
    stopDriver();
}

void Form1::createControls() {
    goButton_ = makeButton(this, "paleisk", "GO!", {240, 5520, 1455, 495});
    convertButton_ = makeButton(this, "Command1", "Convert", {240, 4920, 975, 375});
    // Stop sits right of Convert, in the column of the grid line's box and just above GO!, the one
    // free spot beside the stream's own button.
    stopButton_ = makeButton(this, "Command2", "Stop", {1320, 4920, 855, 375});

    pictureArea_ =
        new PictureWidget(single_scan::kPictureAreaSize, single_scan::kPictureBackground, this);
    pictureArea_->setObjectName("Picture1");
    pictureArea_->move(twipsToPixels(120), twipsToPixels(120));
    pictureArea_->setFocusPolicy(Qt::TabFocus);
    pictureArea_->setPicture(QImage(":/dotwall_lpt/default_picture.bmp"));

    dumpText_ = makeMultiLineBox(this, "Text1", "Text1", {2280, 4080, 7575, 2055});
    columnText_ = makeTextBox(this, "Text2", "Text2", {240, 3960, 975, 285});
    lineText_ = makeTextBox(this, "Text3", "Text3", {1320, 3960, 855, 285});
    colourText_ = makeTextBox(this, "Text4", "Text4", {240, 4440, 1575, 285});
}

DriverStart Form1::startDriver() {
    bool started = false;
    try {
        started = port_.start();
    } catch (const RuntimeError&) {
        // Without the library there is no driver to stop either.
        driverStopped_ = true;
        messages_.showCritical(kWindowCaption, describeCurrentException());
        return DriverStart::LibraryMissing;
    }
    if (!started) {
        messages_.showCritical(kDriverFailedTitle, port_stream::kDriverFailedText);
        stopDriver();
        return DriverStart::DriverFailed;
    }
    return DriverStart::Started;
}

// Stops the port driver, once, whether or not it started.
void Form1::stopDriver() {
    if (driverStopped_) {
        return;
    }
    driverStopped_ = true;
    guard_.run([this] { port_.stop(); });
}

void Form1::openPicture(const std::filesystem::path& path) {
    guard_.run([&] { pictureArea_->setPicture(loadMonochromePicture(path)); });
}

void Form1::closeEvent(QCloseEvent* event) {
    if (refresh_.running()) {
        closeWhenStreamEnds_ = true;
        refresh_.requestStop();
        event->ignore();
        return;
    }
    stopDriver();
    event->accept();
}

void Form1::convert() {
    PanelFrame frame = single_scan::sample(profile_, pictureArea_->area());
    QString dump = dumpText_->toPlainText();
    for (std::size_t i = 0; i < single_scan::kDumpedBytes; ++i) {
        dump += " " + QString::fromStdString(signedNumberText(frame.bytes[i]));
    }
    dumpText_->setPlainText(dump);
    single_scan::stampTestMark(profile_, frame);
    frame_ = std::move(frame);
    if (refresh_.running()) {
        refresh_.replaceFrame(frame_);
    }
}

void Form1::startStream() {
    const port_stream::RealTimeGrant grant = refresh_.start(profile_, frame_);
    showStreaming(true);
    framesAtLastTick_ = 0;
    lastTick_ = std::chrono::steady_clock::now();
    frameRateTimer_.start();
    if (!grant.refused.empty() && !std::exchange(priorityNoted_, true)) {
        messages_.showNote(kWindowCaption, port_stream::describe(grant));
    }
}

void Form1::stopStream() {
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
    goButton_->setEnabled(!streaming);
    stopButton_->setEnabled(streaming);
}

void Form1::showGridUnder(float x, float y) {
    const GridProbeReading reading = probeGrid(pictureArea_->area(), x, y);
    showText(columnText_, reading.column);
    showText(lineText_, reading.line);
    showText(colourText_, reading.colour);
}

}  // namespace dotwall::lpt_tool

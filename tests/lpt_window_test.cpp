// DotwallLpt driven as a user drives it, against a port library that records every call:
// the driver's start and stop, Convert, GO! and Stop, closing while streaming, the mouse.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "common/library_binder.h"
#include "expected_frames.h"
#include "port_tool/form1.h"
#include "port_tool/start.h"
#include "recorded_port_calls.h"
#include "test_files.h"
#include "window_test.h"

namespace dotwall::testing {
namespace {

using port_tool::Form1;

constexpr std::size_t kWritesPerFrame = 77363;

// The recording library's calls, through the same library file the window binds.
RecordedPortCalls& portCalls() {
    static OutsideLibrary library{RECORDING_WINIO_PATH};
    static BoundFunction<RecordedPortCalls*()> calls{library, "RecordingWinIoCalls"};
    return *calls();
}

// Forgets every call so far; InitializeWinIo will answer `initializeAnswer`.
void forgetPortCalls(std::int16_t initializeAnswer = 1) {
    portCalls() = RecordedPortCalls{};
    portCalls().initializeAnswer = initializeAnswer;
}

QImage defaultPicture() {
    return QImage(":/dotwall_lpt/default_picture.bmp");
}

// Counts how often a DotwallLpt window is shown, wherever it is created.
struct WindowShows final : QObject {
    WindowShows() { qApp->installEventFilter(this); }
    ~WindowShows() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        count += event->type() == QEvent::Show && object->objectName() == "Form1";
        return false;
    }
    int count = 0;
};

// A window the program shows is closed as soon as its events are taken, so that a start
// that shows it by mistake ends instead of waiting for a user.
void closeEveryWindowOnceShown() {
    QTimer::singleShot(0, [] {
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            shown->close();
        }
    });
}

TEST(LptStart, ReportsADriverThatFailsOrALibraryThatIsMissingAndNeverShowsTheWindow) {
    RecordingMessageSink messages;
    WindowShows shows;
    forgetPortCalls(0);
    closeEveryWindowOnceShown();
    EXPECT_EQ(port_tool::runDotwallLpt({&messages, RECORDING_WINIO_PATH}), 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Kelvane32");
    EXPECT_EQ(messages.messages[0].text, "Whoops ! There is a problem with InitializeWinIo.");
    EXPECT_EQ(portCalls().initializeCalls, 1);
    EXPECT_EQ(portCalls().shutdownCalls, 1) << "unloading stops even a driver that failed";

    closeEveryWindowOnceShown();
    EXPECT_EQ(port_tool::runDotwallLpt({&messages, "libNoSuchWinIo.so"}), 1);
    EXPECT_NE(messages.messages.at(1).text.find("\"libNoSuchWinIo.so\" of the function "
                                                "\"InitializeWinIo\""),
              std::string::npos);
    EXPECT_EQ(shows.count, 0);

    forgetPortCalls(7);  // any answer but 0 starts the window
    closeEveryWindowOnceShown();
    EXPECT_EQ(port_tool::runDotwallLpt({&messages, RECORDING_WINIO_PATH}), 0);
    EXPECT_EQ(shows.count, 1);
    EXPECT_EQ(portCalls().shutdownCalls, 1);
    EXPECT_EQ(messages.messages.size(), 2u);
}

class LptWindow : public WindowTest<Form1> {
  protected:
    void SetUp() override { open(RECORDING_WINIO_PATH); }

    void open(const std::string& library) {
        forgetPortCalls();
        auto loaded = std::make_unique<Form1>(port_tool::LptWindowServices{&messages, library});
        ASSERT_EQ(loaded->Form_Load(), port_tool::LoadOutcome::Started);
        show(std::move(loaded));
    }

    bool enabled(const char* button) { return control(button)->isEnabled(); }

    // Clicks GO! and, once the port has had `frames` whole frames, does `then` (Stop or close).
    void streamFramesThen(std::size_t frames, const std::function<void()>& then) {
        auto* poll = new QTimer(window.get());
        QObject::connect(poll, &QTimer::timeout, poll, [=, this] {
            if (portCalls().bytes.size() + portCalls().strayWrites >= frames * kWritesPerFrame) {
                poll->stop();
                streamingLooked =
                    !enabled("Command1") && !enabled("paleisk") && enabled("Command2");
                then();
            }
        });
        poll->start(0);
        click("paleisk");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !enabled("Command2"); }, 30000));
    }

    bool streamingLooked = false;
};

TEST_F(LptWindow, ConvertDumpsAndGoStreamsWholeFramesUntilStopThenLeavesThePortLow) {
    click("Command1");
    std::string dump = "Text1";
    const Bytes unmarked = expectedLptFrameUnmarked(defaultPicture());
    for (int i = 0; i < 201; ++i) {
        dump += "  " + std::to_string(unmarked[i]);
    }
    EXPECT_EQ(text("Text1"), dump) << "the dump shows the packed bytes, before the test mark";

    streamFramesThen(2, [&] { click("Command2"); });
    EXPECT_TRUE(streamingLooked) << "Convert and GO! are off and Stop on while streaming";
    Bytes expected = expectedPortStream(expectedLptFrame(defaultPicture()), 2);
    expected.push_back(0);
    EXPECT_EQ(portCalls().bytes, expected) << "two whole frames, then 0";
    EXPECT_EQ(portCalls().strayWrites, 0);
    EXPECT_TRUE(enabled("Command1") && enabled("paleisk"));
    EXPECT_TRUE(messages.messages.empty());

    // DotwallFrame's stream of the same picture is the window's, byte for byte.
    TemporaryFolder folder;
    const ProgramRun run =
        runProgram(DOTWALL_FRAME_PATH, {"stream", LPT_DEFAULT_PICTURE, "--frames", "2", "-o", "s"},
                   folder.path());
    ASSERT_EQ(run.status, 0) << run.err;
    expected.pop_back();
    EXPECT_EQ(readBytes(folder / "s"), expected);
}

TEST_F(LptWindow, ClosingFinishesTheFrameBeingSentAndStopsTheDriverOnce) {
    streamFramesThen(1, [&] { window->close(); });
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(portCalls().bytes.size(), kWritesPerFrame + 1);
    EXPECT_EQ(portCalls().bytes.back(), 0);
    window.reset();
    EXPECT_EQ(portCalls().shutdownCalls, 1);

    open(RECORDING_WINIO_PATH);
    window->close();
    window.reset();
    EXPECT_EQ(portCalls().shutdownCalls, 1) << "closed while idle";
    EXPECT_TRUE(portCalls().bytes.empty());
}

TEST_F(LptWindow, APortLibraryWithoutSetPortValEndsTheStreamWithItsError) {
    window.reset();
    open(PORTLESS_WINIO_PATH);
    click("paleisk");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Dotwall");
    EXPECT_NE(messages.messages[0].text.find("\"SetPortVal\""), std::string::npos);
    EXPECT_TRUE(enabled("paleisk") && !enabled("Command2"));
}

TEST_F(LptWindow, TheMouseProbeShowsTheGridColumnLineAndColourUnderTheMouse) {
    const QImage picture = defaultPicture();
    QWidget* area = control("Picture1");
    const struct {
        QPoint pixel;
        const char* column;
        const char* line;
    } cases[] = {{{322, 122}, "320", "120"}, {{0, 0}, "0", "0"}, {{642, 243}, "638", "239"}};
    for (const auto& point : cases) {
        // Given in the window's coordinates: QTest reads a null point as the widget's middle.
        QTest::mouseMove(window.get(), area->mapTo(window.get(), point.pixel));
        EXPECT_EQ(text("Text2"), point.column);
        EXPECT_EQ(text("Text3"), point.line);
        const bool inPicture = point.pixel.x() < 640 && point.pixel.y() < 240;
        EXPECT_EQ(text("Text4"),
                  std::to_string(inPicture ? colourValueOf(picture.pixel(point.pixel)) : 0xFFFFFF));
    }
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(window.get(), area->mapTo(window.get(), QPoint(-2, -1)));
    EXPECT_EQ(text("Text2") + " " + text("Text3") + " " + text("Text4"), "-2 -1 -1");
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(-2, -1));
}

}  // namespace
}  // namespace dotwall::testing

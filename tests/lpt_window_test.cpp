// DotwallLpt driven as a user drives it, against a port library that records every call:
// the driver's start and stop, a picture of one's own, Convert, GO! and Stop with the stream
// on its own thread, closing while streaming, the mouse.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTimer>

#include "base/library_binder.h"
#include "expected_frames.h"
#include "frames/single_scan_frame.h"
#include "lpt_tool/form1.h"
#include "lpt_tool/start.h"
#include "recorded_port_calls.h"
#include "test_files.h"
#include "widgets/picture_widget.h"
#include "window_test.h"

namespace dotwall::testing {
namespace {

using ::testing::HasSubstr;

constexpr std::size_t kWritesPerFrame = 77363;

// The recording library's calls, through the same library file the window binds.
RecordedPortCalls& portCalls() {
    static OutsideLibrary library{RECORDING_WINIO_PATH};
    static BoundFunction<RecordedPortCalls*()> calls{library, "RecordingWinIoCalls"};
    return *calls();
}

// Forgets every call so far; InitializeWinIo will answer `initializeAnswer`.
void forgetPortCalls(std::int16_t initializeAnswer = 1) {
    RecordedPortCalls& calls = portCalls();
    const std::lock_guard lock(calls.mutex);
    calls.initializeAnswer = initializeAnswer;
    calls.initializeCalls = calls.shutdownCalls = calls.strayWrites = 0;
    calls.refuseFrom = SIZE_MAX;
    calls.bytes.clear();
    calls.writers.clear();
    calls.writerPolicies.clear();
}

Bytes portBytes() {
    const std::lock_guard lock(portCalls().mutex);
    return portCalls().bytes;
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

// Once the program's window shows, packs what its picture area shows and closes it, so that
// a start ends instead of waiting for a user.
void packAndCloseOnceShown(Bytes* packed = nullptr) {
    QTimer::singleShot(0, [packed] {
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (auto* area = shown->findChild<PictureWidget*>("Picture1"); area && packed) {
                *packed = single_scan::pack(dotwallLptProfile(), area->area()).bytes;
            }
            shown->close();
        }
    });
}

TEST(LptStart, ReportsADriverThatFailsOrALibraryThatIsMissingAndNeverShowsTheWindow) {
    RecordingMessageSink messages;
    WindowShows shows;
    forgetPortCalls(0);
    packAndCloseOnceShown();
    EXPECT_EQ(lpt_tool::runDotwallLpt({&messages, RECORDING_WINIO_PATH}), 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Kelvane32");
    EXPECT_EQ(messages.messages[0].text, "Whoops ! There is a problem with InitializeWinIo.");
    EXPECT_EQ(portCalls().initializeCalls, 1);
    EXPECT_EQ(portCalls().shutdownCalls, 1) << "a driver that failed to start is stopped too";

    packAndCloseOnceShown();
    EXPECT_EQ(lpt_tool::runDotwallLpt({&messages, "libNoSuchWinIo.so"}), 1);
    EXPECT_THAT(messages.messages.at(1).text, HasSubstr("\"libNoSuchWinIo.so\" of the function "
                                                        "\"InitializeWinIo\""));
    EXPECT_EQ(shows.count, 0);
    QCoreApplication::processEvents();  // the closing of windows that never showed
}

// As a closing does, also before the window shows (0: SIGTERM while the box that refuses the
// picture is open, a real one), which closes the box; while idle, see the test below.
TEST(LptStart, SigtermOrSighupEndsAStreamOrAnOpenBoxAsClosingTheWindowDoes) {
    for (const int signal : {SIGTERM, SIGHUP, 0}) {
        SCOPED_TRACE(signal);
        RecordingMessageSink messages;
        forgetPortCalls();
        QTimer::singleShot(0, [] {
            for (QWidget* shown : QApplication::topLevelWidgets()) {
                if (auto* go = shown->findChild<QPushButton*>("paleisk");
                    go && shown->isVisible()) {
                    QTest::mouseClick(go, Qt::LeftButton);
                }
            }
        });
        QTimer signalling;
        QObject::connect(&signalling, &QTimer::timeout, [&] {
            if (signal == 0 ? QApplication::activeModalWidget() != nullptr
                            : portBytes().size() > 2 * kWritesPerFrame) {
                signalling.stop();
                kill(getpid(), signal == 0 ? SIGTERM : signal);
            }
        });
        signalling.start(1);
        QTimer::singleShot(30000, &signalling, [] {  // a signal that closed nothing
            ADD_FAILURE() << "still open 30 s later";
            QApplication::closeAllWindows();
        });
        EXPECT_EQ(
            lpt_tool::runDotwallLpt({signal == 0 ? nullptr : &messages, RECORDING_WINIO_PATH},
                                    signal == 0 ? std::optional("missing.png") : std::nullopt),
            0);
        const Bytes bytes = portBytes();
        EXPECT_EQ(bytes.size() % kWritesPerFrame, signal == 0 ? 0u : 1u) << "whole frames, then 0";
        EXPECT_EQ(bytes.empty() ? 0 : bytes.back(), 0);
        EXPECT_EQ(portCalls().shutdownCalls, 1);
    }
}

TEST(LptStart, StartsWithThePictureNamedInBlackAndWhiteOrReportsItAndShowsItsOwn) {
    TemporaryFolder folder;
    const QImage picture = noisePicture(300, 100, kBlackAndWhite);
    // Named by bytes that are no UTF-8, as a file from an old Latin-1 system is.
    const auto named = folder / "m\xefne.png";
    std::filesystem::rename(savePicture(picture, folder / "mine.png"), named);
    RecordingMessageSink messages;
    forgetPortCalls(7);  // any answer but 0 starts the window
    Bytes packed;
    packAndCloseOnceShown(&packed);
    EXPECT_EQ(lpt_tool::runDotwallLpt({&messages, RECORDING_WINIO_PATH}, named), 0);
    EXPECT_EQ(packed, expectedLptFrame(picture));
    EXPECT_EQ(portCalls().shutdownCalls, 1);

    packAndCloseOnceShown(&packed);
    EXPECT_EQ(lpt_tool::runDotwallLpt({&messages, RECORDING_WINIO_PATH},
                                      std::filesystem::path("missing.png")),
              0);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_THAT(messages.messages[0].text, HasSubstr("missing.png"));
    EXPECT_EQ(packed, expectedLptFrame(defaultPicture()));
}

class LptWindow : public WindowTest<lpt_tool::Form1> {
  protected:
    void SetUp() override { open(RECORDING_WINIO_PATH); }

    void open(const std::string& library) {
        forgetPortCalls();
        auto loaded =
            std::make_unique<lpt_tool::Form1>(lpt_tool::LptWindowServices{&messages, library});
        ASSERT_EQ(loaded->startDriver(), lpt_tool::DriverStart::Started);
        show(std::move(loaded));
    }

    bool enabled(const char* button) { return control(button)->isEnabled(); }

    // Waits until the port has had at least `frames` frames more than `from` bytes.
    void waitForFrames(std::size_t frames, std::size_t from = 0) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return portBytes().size() >= from + frames * kWritesPerFrame; }, 30000));
    }

    void waitUntilStreamEnds() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return enabled("paleisk"); }, 30000));
    }

    // Drops a file onto the picture area as a file manager does.
    void dropFile(const std::filesystem::path& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
        QWidget* area = control("Picture1");
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(area, &enter);
        QDropEvent drop({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(area, &drop);
    }
};

TEST_F(LptWindow, StreamsOnItsOwnThreadAndConvertSwapsTheFrameOnlyBetweenFrames) {
    click("Command1");
    std::string dump = "Text1";
    const Bytes unmarked = expectedLptFrameUnmarked(defaultPicture());
    for (int i = 0; i < 201; ++i) {
        dump += "  " + std::to_string(unmarked[i]);
    }
    EXPECT_EQ(text("Text1"), dump) << "the dump shows the packed bytes, before the test mark";

    click("paleisk");
    EXPECT_TRUE(!enabled("paleisk") && enabled("Command2") && enabled("Command1"));
    waitForFrames(2);
    TemporaryFolder folder;
    const QImage mine = noisePicture(640, 240, kBlackAndWhite);
    dropFile(savePicture(mine, folder / "mine.bmp"));
    click("Command1");  // the frame is handed over when it returns, however long it took
    waitForFrames(2, portBytes().size());
    click("Command2");
    waitUntilStreamEnds();
    EXPECT_EQ(window->windowTitle(), "Dotwall");

    // Whole frames of the default picture, then whole frames of the dropped one, then 0,
    // all from one thread that is not the window's.
    const Bytes bytes = portBytes();
    const Bytes before = expectedPortStream(expectedLptFrame(defaultPicture()), 1);
    const Bytes after = expectedPortStream(expectedLptFrame(mine), 1);
    ASSERT_EQ(bytes.size() % kWritesPerFrame, 1u);
    EXPECT_EQ(bytes.back(), 0);
    std::size_t frame = 0;
    for (; frame * kWritesPerFrame + 1 < bytes.size() &&
           std::equal(before.begin(), before.end(), bytes.begin() + frame * kWritesPerFrame);
         ++frame) {
    }
    EXPECT_GE(frame, 2u);
    EXPECT_LT(frame * kWritesPerFrame + 1, bytes.size()) << "the new frame never went out";
    for (; frame * kWritesPerFrame + 1 < bytes.size(); ++frame) {
        ASSERT_TRUE(std::equal(after.begin(), after.end(), bytes.begin() + frame * kWritesPerFrame))
            << "frame " << frame << " is no whole packing";
    }
    // Real-time priority is the refresh thread's alone, so the window never outruns the
    // user's other programs; the window notes where the system refuses it.
    EXPECT_EQ(portCalls().strayWrites, 0);
    ASSERT_EQ(portCalls().writers.size(), 1u);
    EXPECT_NE(portCalls().writers[0], std::this_thread::get_id());
    EXPECT_EQ(portCalls().writerPolicies[0], messages.notes.empty() ? SCHED_FIFO : SCHED_OTHER);
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(LptWindow, APortLibraryThatRefusesAWriteEndsTheStreamWithItsError) {
    // A refused write (an adapter unplugged) ends the stream at once: the frame is not
    // finished and no 0 follows, since the port takes nothing more.
    portCalls().refuseFrom = 1000;
    click("paleisk");
    waitUntilStreamEnds();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "Port write refused: SetPortVal refused the byte " +
                  std::to_string(expectedPortStream(Bytes(38560), 1)[1000]) +
                  " for the port 0x378 (888), so the stream ended: the port library could not "
                  "put it on the wire.");
    EXPECT_EQ(portBytes().size(), 1000u);
    EXPECT_FALSE(enabled("Command2"));

    dropFile("/no/such/picture.png");
    EXPECT_THAT(messages.messages.at(1).text, HasSubstr("/no/such/picture.png"));
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

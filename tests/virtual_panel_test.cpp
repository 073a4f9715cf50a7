// The virtual panel end to end: DotwallLpt's real window on the virtual port library found
// through LD_LIBRARY_PATH, the library's port calls fed malformed streams, and DotwallPanel
// with no panel, a foreign object and frame files.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "base/library_binder.h"
#include "expected_frames.h"
#include "lpt_tool/form1.h"
#include "panel_link/panel_link_reader.h"
#include "panel_tool/panel_window.h"
#include "panel_tool/start_command.h"
#include "ports/winio/winio.h"
#include "test_files.h"
#include "window_test.h"

namespace dotwall::testing {
namespace {

using ::testing::HasSubstr;

// A panel of this test run's own, so that a user's panel or another run is never touched.
const std::string& panelName() {
    static const std::string name = [] {
        setenv("DOTWALL_VIRTUAL_PANEL", ("test-" + std::to_string(getpid())).c_str(), 1);
        return panel_link::objectName();
    }();
    return name;
}

bool samePixels(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

class LptOnVirtualPanel : public WindowTest<lpt_tool::Form1> {
  protected:
    void SetUp() override {
        panelName();
        setenv("DOTWALL_VIRTUAL_PORT_NS", std::to_string(kPaceNs).c_str(), 1);
        auto lpt = std::make_unique<lpt_tool::Form1>(lpt_tool::LptWindowServices{&messages});
        ASSERT_EQ(lpt->startDriver(), lpt_tool::DriverStart::Started);
        show(std::move(lpt));
        ASSERT_TRUE(panel.follow()) << "DotwallLpt loaded no virtual library: " << panel.refusal();
    }

    panel_link::LinkReader panel{panelName()};
    static constexpr int kPaceNs = 2000;
};

TEST_F(LptOnVirtualPanel, GoShowsWhatDotwallFramePreviewShowsAndStopEndsAtAWholeFrame) {
    click("Command1");
    auto* poll = new QTimer(window.get());
    // The caption tells the frames per second after a second of streaming; Stop once it did
    // and the panel has two frames.
    QString caption;
    std::uint64_t framesBefore = 0;  // the panel's before the caption
    const auto go = std::chrono::steady_clock::now();
    std::chrono::duration<double> sinceGo{};
    QObject::connect(poll, &QTimer::timeout, poll, [&] {
        if (caption.isEmpty() && window->windowTitle().endsWith(" frames/s")) {
            caption = window->windowTitle();
            sinceGo = std::chrono::steady_clock::now() - go;
        } else if (caption.isEmpty()) {
            framesBefore = panel.counters().frames;
        } else if (panel.counters().frames >= 2) {
            poll->stop();
            click("Command2");
        }
    });
    poll->start(0);
    click("paleisk");
    ASSERT_TRUE(QTest::qWaitFor([&] { return control("paleisk")->isEnabled(); }, 60000));
    const panel_link::Counters stopped = panel.counters();
    QTest::qWait(100);
    EXPECT_EQ(panel.counters().writes, stopped.writes) << "nothing is written after Stop";
    // At most the frames the pace lets through in the caption's second, and one more that
    // may fall in it. At least the frames sent before it (the panel's count, less the one it
    // may have ahead of the stream's) over the time since GO!, and so whatever the load.
    const double paceAllows = 1e9 / (port_signals::kWritesPerFrame * kPaceNs);
    const double shown = caption.section(' ', 2, 2).toDouble();
    EXPECT_LE(shown, paceAllows + 1.1) << caption.toStdString();
    EXPECT_GE(shown + 0.05, (static_cast<double>(framesBefore) - 1) / sinceGo.count())
        << caption.toStdString() << ", " << framesBefore << " frames before it";
    EXPECT_EQ(stopped.writes, stopped.frames * port_signals::kWritesPerFrame + 1)
        << "whole frames, then 0";

    TemporaryFolder folder;
    for (const std::vector<std::string>& packAndDraw :
         {std::vector<std::string>{"lpt", LPT_DEFAULT_PICTURE, "-o", "f"},
          {"preview", "f", "-o", "p.png", "--scale", "2"}}) {
        ASSERT_EQ(runProgram(DOTWALL_FRAME_PATH, packAndDraw, folder.path()).status, 0);
    }
    const ProgramRun viewer =
        runProgram(DOTWALL_PANEL_PATH, {"--snapshot", "s.png", "--scale", "2"}, folder.path());
    ASSERT_EQ(viewer.status, 0) << viewer.err;
    EXPECT_TRUE(samePixels(loadPicture(folder / "s.png"), loadPicture(folder / "p.png")));
    EXPECT_THAT(viewer.out,
                HasSubstr(std::to_string(stopped.frames) +
                          " frames; 241 lines per frame, 640 pixels per line\nFaults: 0 lines of "
                          "wrong length, 0 frames of wrong length, 0 writes with an unused line "
                          "set, 0 nibbles changed on the clock, 0 times the AC line not turned "
                          "over as it should"));
}

// The virtual library's functions, bound by its path as DotwallLpt binds them by name.
struct VirtualPortCalls {
    void play(const Bytes& stream) {
        for (const std::uint8_t byte : stream) {
            setPortVal(0x378, byte, 1);
        }
    }
    OutsideLibrary library{VIRTUAL_WINIO_PATH};
    BoundFunction<decltype(::InitializeWinIo)> initialize{library, "InitializeWinIo"};
    BoundFunction<decltype(::ShutdownWinIo)> shutdown{library, "ShutdownWinIo"};
    BoundFunction<decltype(::SetPortVal)> setPortVal{library, "SetPortVal"};
    BoundFunction<decltype(::GetPortVal)> getPortVal{library, "GetPortVal"};
};

TEST(VirtualPort, CountsMalformedStreamsAndPublishesOnlyWholeFramesNeverATornOne) {
    setenv("DOTWALL_VIRTUAL_PORT_NS", "0", 1);
    panelName();
    VirtualPortCalls port;
    EXPECT_EQ(port.setPortVal(0x378, 1, 1), 0) << "no write before InitializeWinIo";
    ASSERT_EQ(port.initialize() + port.initialize(), 2) << "a second start keeps the panel";
    panel_link::LinkReader panel(panelName());
    ASSERT_TRUE(panel.follow());
    // Frames of noise, B lit where A is dark.
    const Bytes frameA = expectedLptFrame(noisePicture(640, 240, kBlackAndWhite));
    const Bytes frameB =
        expectedLptFrame(noisePicture(640, 240, {qRgb(255, 255, 255), qRgb(0, 0, 0)}));
    const PanelPicture pictureA = panelPicture(640, 241, litIn(frameA));
    const Bytes streamA = expectedPortStream(frameA, 1), streamB = expectedPortStream(frameB, 1);
    port.play(streamA);

    // Line k of a frame's stream starts at 2 + 321 k: 160 clocked pairs, then the latch.
    const struct {
        const char* fault;
        std::function<void(Bytes&)> spoil;
        std::vector<long> counted;  // D7, nibble on the clock, lines, frames of wrong length
    } cases[] = {
        {"a missing latch", [](Bytes& s) { s.erase(s.begin() + 2 + 321 * 5 + 320); }, {0, 0, 1, 1}},
        {"an extra clock",
         [](Bytes& s) {
             s.insert(s.begin() + 2, {64 | 3, 3});
         },
         {0, 0, 2, 1}},
        {"a lost clock: a short line",
         [](Bytes& s) { s.erase(s.begin() + 2, s.begin() + 4); },
         {0, 0, 3, 1}},
        {"no frame marker: a frame of 482 lines",
         [](Bytes& s) { std::ranges::for_each(s, [](std::uint8_t& byte) { byte &= ~0x20; }); },
         {0, 0, 3, 2}},
        {"D7 set", [](Bytes& s) { s[3] |= 0x80; }, {1, 0, 3, 2}},
        {"a nibble changed on the clock", [](Bytes& s) { s[3] ^= 1; }, {1, 1, 3, 2}},
    };
    std::uint64_t frames = 1, writes = streamA.size();
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fault);
        Bytes spoilt = streamB;
        row.spoil(spoilt);
        port.play(spoilt);
        port.play(streamA);
        writes += spoilt.size() + streamA.size();
        const std::optional<panel_link::Frame> shown = panel.newFrame();
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->number, ++frames) << "the spoilt frame is never taken";
        EXPECT_EQ(shown->picture, pictureA);
        const auto [d7, onClock, badLines, badFrames, ac] = panel.counters().faults;
        EXPECT_EQ(std::vector({d7, onClock, badLines, badFrames}), row.counted);
    }

    std::uint32_t value = 0;
    EXPECT_EQ(port.getPortVal(0x378, &value, 1), 1);
    EXPECT_EQ(value, 16u) << "the last byte written, the latch";
    EXPECT_EQ(port.setPortVal(0x379, 0, 1) + port.setPortVal(0x378, 0, 2) +
                  port.getPortVal(0x37A, &value, 1),
              0)
        << "ports and sizes the panel is not wired to";
    EXPECT_EQ(panel.counters().writes, writes);

    // A viewer copying frames while whole frames A and B follow each other as fast as they
    // can sees each whole; they follow until it has seen three, however the cores are shared.
    std::atomic<bool> streaming = true;
    std::atomic<int> seen = 0;
    int torn = 0;
    std::thread viewer([&] {
        panel_link::LinkReader watching(panelName());
        watching.follow();
        const PanelPicture pictureB = panelPicture(640, 241, litIn(frameB));
        while (streaming) {
            if (const std::optional<panel_link::Frame> shown = watching.newFrame()) {
                ++seen;
                torn += shown->picture != pictureA && shown->picture != pictureB;
            }
        }
    });
    int frame = 0;
    EXPECT_TRUE(waitUntil([&] {
        port.play(++frame % 2 ? streamB : streamA);
        return seen >= 3;
    }));
    streaming = false;
    viewer.join();
    EXPECT_EQ(torn, 0);

    EXPECT_EQ(port.shutdown(), 1);
    EXPECT_FALSE(panel.follow()) << "ShutdownWinIo removes the panel's object";

    // A viewer that looks while panels are made and removed over and over finds each whole,
    // never one half made.
    std::atomic<int> opened = 0;
    std::atomic<bool> looking = true;
    std::string refused;
    std::thread looker([&] {
        panel_link::LinkReader reader(panelName());
        while (looking && refused.empty()) {
            opened += reader.follow();
            refused = reader.refusal();
        }
        looking = false;
    });
    EXPECT_TRUE(waitUntil([&] {
        port.initialize();
        port.shutdown();
        return opened >= 50 || !looking;
    }));
    looking = false;
    looker.join();
    EXPECT_EQ(refused, "");

    // Given a profile, the virtual panel reads the wire as that panel does, the link carries
    // its size and name, and DotwallPanel's snapshot is of that size. Given a pace, each
    // write takes at least that long. The panel's rate is at most what the pace allows, and
    // at least one frame in the time the writes took beyond the first frame's paces, as no
    // load can change.
    TemporaryFolder folder;
    std::ofstream(folder / "panel.json")
        << R"({"name": "96 x 20", "width": 96, "lines": 20, "data": [7, 6, 5, 4],
               "shift_clock": 0, "line_latch": 1, "frame_marker": 2, "ac": 3, "ac_toggle": 4,
               "invert": true})";
    setenv("DOTWALL_PANEL", (folder / "panel.json").c_str(), 1);
    setenv("DOTWALL_VIRTUAL_PORT_NS", "50000", 1);
    ASSERT_EQ(port.initialize(), 1);
    unsetenv("DOTWALL_PANEL");
    const QImage picture = noisePicture(96, 20, kBlackAndWhite);
    const Bytes twoFrames =
        expectedWiredStream({96, 20, {7, 6, 5, 4}, 0, 1, 2, 3, 4, true}, whiteIn(picture), 2);
    const auto began = std::chrono::steady_clock::now();
    port.play(twoFrames);
    const auto took = std::chrono::steady_clock::now() - began;
    constexpr auto kPace = std::chrono::microseconds(50);
    EXPECT_GE(took, (twoFrames.size() - 1) * kPace);
    ASSERT_TRUE(panel.follow());
    const double paceAllows = 1e9 / (static_cast<double>(twoFrames.size() / 2) * 50'000);
    const std::chrono::duration<double> secondFrame = took - (twoFrames.size() / 2 - 1) * kPace;
    EXPECT_LE(panel.counters().framesPerSecond, paceAllows * 1.001);
    EXPECT_GE(panel.counters().framesPerSecond, 0.999 / secondFrame.count());
    const std::optional<panel_link::Frame> shown = panel.newFrame();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->number, 2u);
    EXPECT_EQ(shown->picture, panelPicture(96, 20, whiteIn(picture)));
    const ProgramRun snapshot =
        runProgram(DOTWALL_PANEL_PATH, {"--snapshot", "s.png", "--scale", "3"}, folder.path());
    EXPECT_EQ(snapshot.status, 0) << snapshot.err;
    EXPECT_EQ(loadPicture(folder / "s.png").size(), QSize(288, 60));
    EXPECT_TRUE(snapshot.out.starts_with("Panel \"96 x 20\", 96 x 20: ")) << snapshot.out;
    EXPECT_EQ(port.shutdown(), 1);
}

class PanelViewer : public WindowTest<panel_tool::PanelWindow> {};

TEST_F(PanelViewer, SaysHowToStartDotwallLptRefusesForeignObjectsAndShowsFrameFiles) {
    const std::filesystem::path programs = std::filesystem::path(DOTWALL_PANEL_PATH).parent_path();
    const std::string waiting =
        "Waiting for DotwallLpt with the virtual library. Start it with:\nLD_LIBRARY_PATH=" +
        std::filesystem::path(VIRTUAL_WINIO_PATH).parent_path().string() + " " +
        (programs / "DotwallLpt").string();
    show(std::make_unique<panel_tool::PanelWindow>(
        panel_tool::PanelFeed(panelName(), panel_tool::startCommand(programs))));
    auto status = [&] { return control<QLabel>("status")->text().toStdString(); };
    EXPECT_EQ(status(), waiting);

    const int foreign = shm_open(panelName().c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(foreign, 0);
    const std::string object = "The shared memory object \"" + panelName() + "\" ";
    const std::pair<std::size_t, const char*> foreignObjects[] = {
        {100, "holds 100 bytes, but a virtual panel holds"},
        {sizeof(panel_link::LinkHeader), "is no virtual panel of this version (a foreign magic"}};
    for (const auto& [size, said] : foreignObjects) {
        ASSERT_EQ(ftruncate(foreign, static_cast<off_t>(size)), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return status().starts_with(object + said); }))
            << status();
        EXPECT_TRUE(status().ends_with(waiting));
    }
    shm_unlink(panelName().c_str());
    close(foreign);
    EXPECT_TRUE(QTest::qWaitFor([&] { return status() == waiting; }));

    QTest::keyClick(window.get(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(control<QLabel>("picture")->pixmap().size(), QSize(1280, 482));

    // A frame file, named by any bytes, shows what DotwallFrame preview shows: each half one
    // row up, its top row last, as line k carries the rows below it. A frame of the wrong
    // length is named.
    TemporaryFolder folder;
    const QImage picture = noisePicture(640, 480, kBlackAndWhite);
    const std::string name = "scr\xe9n.bin";  // no UTF-8
    writeBytes(folder / name, expectedUsbFrameFile(whiteIn(picture)));
    writeBytes(folder / "short.bin", Bytes(100));
    const std::vector<std::string> preview{"preview", name, "-o", "p.png", "--scale", "2"};
    ASSERT_EQ(runProgram(DOTWALL_FRAME_PATH, preview, folder.path()).status, 0);
    const QImage look = loadPicture(folder / "p.png");
    ASSERT_EQ(look.size(), QSize(1280, 960));
    const auto lit = whiteIn(picture), white = whiteIn(look);
    EXPECT_EQ(panelPicture(640, 480, [&](int x, int y) { return white(2 * x + 1, 2 * y + 1); }),
              panelPicture(640, 480, [&](int x, int y) {
                  return lit(x, 240 * (y / 240) + (y % 240 + 1) % 240);
              }));
    const ProgramRun shown =
        runProgram(DOTWALL_PANEL_PATH, {name, "--snapshot", "s.png"}, folder.path());
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(samePixels(loadPicture(folder / "s.png"), look.scaled(640, 480)));
    const ProgramRun refused =
        runProgram(DOTWALL_PANEL_PATH, {"short.bin", "--snapshot", "s.png"}, folder.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("\"short.bin\" is not a panel frame: it holds 100 bytes"));
}

}  // namespace
}  // namespace dotwall::testing

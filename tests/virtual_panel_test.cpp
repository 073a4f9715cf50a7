// The virtual panel end to end: DotwallLpt's real window on the virtual port library found
// through LD_LIBRARY_PATH, the library's port calls fed malformed streams, and DotwallPanel
// with no panel, a foreign object and frame files.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QLabel>
#include <QTimer>
#include <atomic>
#include <thread>

#include "base/library_binder.h"
#include "expected_frames.h"
#include "panel_link/panel_link_reader.h"
#include "panel_tool/panel_window.h"
#include "panel_tool/start_command.h"
#include "port_tool/form1.h"
#include "test_files.h"
#include "window_test.h"
#include "winio/winio.h"

namespace dotwall::testing {
namespace {

constexpr std::uint64_t kWritesPerFrame = 77363;

// A panel of this test run's own, so that a user's panel or another run is never touched.
const std::string& panelName() {
    static const std::string name = [] {
        setenv("DOTWALL_VIRTUAL_PANEL", ("test-" + std::to_string(getpid())).c_str(), 1);
        return panel_link::objectName();
    }();
    return name;
}

std::string statusLine(const std::string& frames) {
    return frames +
           " frames; 241 lines per frame, 640 pixels per line\nFaults: 0 lines of wrong "
           "length, 0 frames of wrong length, 0 writes with an unused line set, 0 nibbles "
           "changed on the clock, 0 times the AC line not turned over as it should";
}

// Two pictures drawn alike, pixel by pixel.
bool samePixels(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

class LptOnVirtualPanel : public WindowTest<port_tool::Form1> {
  protected:
    void SetUp() override {
        panelName();
        auto lpt = std::make_unique<port_tool::Form1>(port_tool::LptWindowServices{&messages});
        ASSERT_EQ(lpt->Form_Load(), port_tool::LoadOutcome::Started);
        show(std::move(lpt));
        ASSERT_TRUE(panel.follow()) << "DotwallLpt loaded no virtual library: " << panel.refusal();
    }

    panel_link::LinkReader panel{panelName()};
};

TEST_F(LptOnVirtualPanel, GoShowsWhatDotwallFramePreviewShowsAndStopEndsAtAWholeFrame) {
    click("Command1");
    auto* poll = new QTimer(window.get());
    QObject::connect(poll, &QTimer::timeout, poll, [this, poll] {
        if (panel.counters().writes >= 2 * kWritesPerFrame) {
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
    EXPECT_GE(stopped.frames, 2u);
    EXPECT_EQ(stopped.writes, stopped.frames * kWritesPerFrame + 1) << "whole frames, then 0";

    TemporaryFolder folder;
    ASSERT_EQ(runProgram(DOTWALL_FRAME_PATH, {"lpt", LPT_DEFAULT_PICTURE, "-o", "f"}, folder.path())
                  .status,
              0);
    ASSERT_EQ(runProgram(DOTWALL_FRAME_PATH, {"preview", "f", "-o", "p.png", "--scale", "2"},
                         folder.path())
                  .status,
              0);
    const ProgramRun viewer =
        runProgram(DOTWALL_PANEL_PATH, {"--snapshot", "s.png", "--scale", "2"}, folder.path());
    ASSERT_EQ(viewer.status, 0) << viewer.err;
    EXPECT_TRUE(samePixels(loadPicture(folder / "s.png"), loadPicture(folder / "p.png")));
    EXPECT_NE(viewer.out.find(statusLine(std::to_string(stopped.frames))), std::string::npos)
        << viewer.out;
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

// A frame of pseudo-random nibbles, and the picture a panel shows for it (bit 3 leftmost).
Bytes noiseFrame(std::uint32_t seed) {
    Bytes frame(38560);
    for (std::uint8_t& byte : frame) {
        seed = seed * 1103515245u + 12345u;
        byte = (seed >> 16) & 0x0F;
    }
    return frame;
}
PanelPicture pictureOf(const Bytes& frame) {
    PanelPicture picture(640, 241);
    for (int y = 0; y < 241; ++y) {
        for (int x = 0; x < 640; ++x) {
            picture.setLit(x, y, (frame[160 * y + x / 4] >> (3 - x % 4)) & 1);
        }
    }
    return picture;
}

TEST(VirtualPort, CountsMalformedStreamsAndPublishesOnlyWholeFramesNeverATornOne) {
    setenv("DOTWALL_VIRTUAL_PORT_NS", "0", 1);
    panelName();
    VirtualPortCalls port;
    EXPECT_EQ(port.setPortVal(0x378, 1, 1), 0) << "no write before InitializeWinIo";
    ASSERT_EQ(port.initialize(), 1);
    panel_link::LinkReader panel(panelName());
    ASSERT_TRUE(panel.follow());
    const Bytes frameA = noiseFrame(1), frameB = noiseFrame(2);
    const Bytes streamA = expectedPortStream(frameA, 1), streamB = expectedPortStream(frameB, 1);
    port.play(streamA);

    // Line k of a frame's stream starts at 2 + 321 k: 160 clocked pairs, then the latch.
    using Faults = port_signals::StreamDecoder::Faults;
    const struct {
        const char* fault;
        std::function<void(Bytes&)> spoil;
        Faults counted;  // D7, nibble on the clock, lines, frames of wrong length, so far
    } cases[] = {
        {"a missing latch", [](Bytes& s) { s.erase(s.begin() + 2 + 321 * 5 + 320); }, {0, 0, 1, 1}},
        {"an extra clock",
         [](Bytes& s) {
             s.insert(s.begin() + 2, {64 | 3, 3});
         },
         {0, 0, 2, 1}},
        {"D7 set", [](Bytes& s) { s[3] |= 0x80; }, {1, 0, 2, 1}},
        {"a nibble changed on the clock", [](Bytes& s) { s[3] ^= 1; }, {1, 1, 2, 1}},
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
        EXPECT_EQ(shown->picture, pictureOf(frameA));
        const Faults faults = panel.counters().faults;
        EXPECT_EQ(std::vector({faults.unusedLineSet, faults.nibbleChangedOnClock,
                               faults.linesOfWrongLength, faults.framesOfWrongLength}),
                  std::vector({row.counted.unusedLineSet, row.counted.nibbleChangedOnClock,
                               row.counted.linesOfWrongLength, row.counted.framesOfWrongLength}));
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
    // can sees each whole.
    std::atomic<bool> streaming = true;
    int seen = 0, torn = 0;
    std::thread viewer([&] {
        panel_link::LinkReader watching(panelName());
        watching.follow();
        const PanelPicture a = pictureOf(frameA), b = pictureOf(frameB);
        while (streaming) {
            if (const std::optional<panel_link::Frame> shown = watching.newFrame()) {
                ++seen;
                torn += shown->picture != a && shown->picture != b;
            }
        }
    });
    for (int frame = 0; frame < 40; ++frame) {
        port.play(frame % 2 == 0 ? streamB : streamA);
    }
    streaming = false;
    viewer.join();
    EXPECT_GT(seen, 1);
    EXPECT_EQ(torn, 0);

    EXPECT_EQ(port.shutdown(), 1);
    EXPECT_FALSE(panel.follow()) << "ShutdownWinIo removes the panel's object";

    // Given a profile, the virtual panel reads the wire as that panel does, the link carries
    // its size and name, and DotwallPanel's snapshot is of that size.
    TemporaryFolder folder;
    std::ofstream(folder / "panel.json")
        << R"({"name": "96 x 20", "width": 96, "lines": 20, "data": [7, 6, 5, 4],
               "shift_clock": 0, "line_latch": 1, "frame_marker": 2, "ac": 3, "ac_toggle": 4,
               "invert": true})";
    setenv("DOTWALL_PANEL", (folder / "panel.json").c_str(), 1);
    ASSERT_EQ(port.initialize(), 1);
    unsetenv("DOTWALL_PANEL");
    const QImage picture = noisePicture(96, 20, kBlackAndWhite);
    auto lit = [&](int x, int y) { return picture.pixel(x, y) == qRgb(255, 255, 255); };
    port.play(expectedWiredStream({96, 20, {7, 6, 5, 4}, 0, 1, 2, 3, 4, true}, lit, 2));
    ASSERT_TRUE(panel.follow());
    EXPECT_EQ(panel.panelName() + " " + std::to_string(panel.width()) + "x" +
                  std::to_string(panel.lines()),
              "96 x 20 96x20");
    const std::optional<panel_link::Frame> shown = panel.newFrame();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->number, 2u);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 96; ++x) {
            ASSERT_EQ(shown->picture.lit(x, y), lit(x, y)) << x << "," << y;
        }
    }
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
    for (const auto& [size, said] : {std::pair{100, "holds 100 bytes, but a virtual panel holds"},
                                     {sizeof(panel_link::LinkHeader),
                                      "is no virtual panel of "
                                      "this version (a foreign "
                                      "magic number"}}) {
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

    // A frame file, named by any bytes, shows what DotwallFrame preview shows; a frame of the
    // wrong length is named, and a snapshot is written whole or not at all.
    TemporaryFolder folder;
    const QImage picture = noisePicture(640, 480, kBlackAndWhite);
    writeBytes(folder /
                   "scr\xe9"
                   "n.bin",
               expectedUsbFrameFile(
                   [&](int x, int y) { return picture.pixel(x, y) == qRgb(255, 255, 255); }));
    writeBytes(folder / "short.bin", Bytes(100));
    ASSERT_EQ(runProgram(DOTWALL_FRAME_PATH,
                         {"preview",
                          "scr\xe9"
                          "n.bin",
                          "-o", "p.png"},
                         folder.path())
                  .status,
              0);
    const ProgramRun shown = runProgram(DOTWALL_PANEL_PATH,
                                        {"scr\xe9"
                                         "n.bin",
                                         "--snapshot", "s.png"},
                                        folder.path());
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(samePixels(loadPicture(folder / "s.png"), loadPicture(folder / "p.png")));
    const ProgramRun refused =
        runProgram(DOTWALL_PANEL_PATH, {"short.bin", "--snapshot", "s.png"}, folder.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("\"short.bin\" is not a panel frame: it holds 100 bytes"),
              std::string::npos)
        << refused.err;
    const Bytes snapshot = readBytes(folder / "s.png");
    chmod((folder / "s.png").c_str(), 0444);
    const ProgramRun readOnly = runProgram(DOTWALL_PANEL_PATH,
                                           {"scr\xe9"
                                            "n.bin",
                                            "--snapshot", "s.png", "--scale", "3"},
                                           folder.path());
    EXPECT_EQ(readOnly.err,
              "DotwallPanel: Cannot write the snapshot \"s.png\": it is read-only.\n");
    EXPECT_EQ(readBytes(folder / "s.png"), snapshot);
}

}  // namespace
}  // namespace dotwall::testing

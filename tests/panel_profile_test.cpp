// Panels unlike DotwallLpt's, as their profiles describe them, through DotwallFrame run as a
// process: the frames and streams it writes against the test's own, decoded by the panel's
// decoder back into the picture, and the profiles it refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <numeric>

#include "expected_frames.h"
#include "frames/panel_profile.h"
#include "frames/port_signals.h"
#include "panel_link/panel_link_reader.h"
#include "test_files.h"

namespace dotwall::testing {
namespace {

using ::testing::HasSubstr;

class PanelProfiles : public ::testing::Test {
  protected:
    ProgramRun run(const std::vector<std::string>& arguments) {
        return runProgram(DOTWALL_FRAME_PATH, arguments, folder.path());
    }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(folder / name) << text;
        return name;
    }
    TemporaryFolder folder;
};

// Another size, the data lines in another order on other bits, the AC line turned over at
// each frame marker, 1 frame a second; and one inverted, with the AC line turned over every 16
// lines, at a million lines a second.
const struct {
    const char* json;
    PanelWiring wiring;
} kPanels[] = {
    {R"({"name": "320 x 200", "width": 320, "lines": 200, "data": [4, 6, 5, 7],
         "shift_clock": 0, "line_latch": 1, "frame_marker": 2, "ac": 3, "ac_toggle": "frame",
         "frames_per_second": 1})",
     {320, 200, {4, 6, 5, 7}, 0, 1, 2, 3, 0, false}},
    {R"({"name": "240 x 128, inverted", "width": 240, "lines": 128, "data": [0, 2, 1, 3],
         "shift_clock": 4, "line_latch": 5, "frame_marker": 6, "ac": 7, "ac_toggle": 16,
         "invert": true, "frames_per_second": 7812.5})",
     {240, 128, {0, 2, 1, 3}, 4, 5, 6, 7, 16, true}},
};

TEST_F(PanelProfiles, APanelIsPackedOneForOneStreamedOnItsWiringAndDecodedBackIntoThePicture) {
    for (const auto& panel : kPanels) {
        const PanelWiring& wiring = panel.wiring;
        SCOPED_TRACE(panel.json);
        const std::string profile = write("panel.json", panel.json);
        // Larger than the panel and in colours either side of the threshold: it is cut at the
        // panel's edges, and each pixel is lit when its colour value is above 128.
        const QImage picture =
            noisePicture(wiring.width + 9, wiring.lines + 5,
                         {qRgb(128, 0, 0), qRgb(129, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)});
        savePicture(picture, folder / "p.png");
        auto lit = [&](int x, int y) { return colourValueOf(picture.pixel(x, y)) > 128; };

        ASSERT_EQ(run({"lpt", "p.png", "--panel", profile, "-o", "f.bin"}).status, 0);
        Bytes frame(static_cast<std::size_t>(wiring.lines * wiring.width / 4), 0);
        for (int i = 0; i < wiring.lines * wiring.width; ++i) {  // a line is whole bytes
            frame[i / 4] |= lit(i % wiring.width, i / wiring.width) << (3 - i % 4);
        }
        EXPECT_EQ(readBytes(folder / "f.bin"), frame);

        ASSERT_EQ(
            run({"stream", "p.png", "--panel", profile, "--frames", "3", "-o", "s.bin"}).status, 0);
        const Bytes stream = readBytes(folder / "s.bin");
        EXPECT_EQ(stream, expectedWiredStream(wiring, lit, 3));

        port_signals::StreamDecoder decoder(loadPanelProfile((folder / profile).string()));
        for (const std::uint8_t byte : stream) {
            decoder.write(byte);
        }
        EXPECT_EQ(decoder.frames(), 3);
        const auto [d7, onClock, badLines, badFrames, ac] = decoder.faults();
        EXPECT_EQ(d7 + onClock + badLines + badFrames + ac, 0);
        EXPECT_EQ(decoder.lastFrame(), panelPicture(wiring.width, wiring.lines, lit));
    }
}

// A panel of `levels` greys, 32 pixels a level wide and 32 lines, inverted, with an AC line.
std::string greyPanel(int levels) {
    return R"({"name": "grey", "lines": 32, "data": [0, 2, 1, 3], "shift_clock": 4,
        "line_latch": 5, "frame_marker": 6, "ac": 7, "ac_toggle": 5, "invert": true,
        "frames_per_second": 100, "width": )" +
           std::to_string(32 * levels) + ", \"grey_levels\": " + std::to_string(levels) + "}";
}

// Bands of the levels 0 to L - 1 from the left (or the right), 32 pixels each, each band's
// grey `off` above its level's in odd lines and `off` below in even ones.
QImage greyBands(int levels, int off, bool reversed = false) {
    QImage bands(32 * levels, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < bands.width(); ++x) {
            const int level = reversed ? levels - 1 - x / 32 : x / 32;
            const int grey = (255 * level + (levels - 1) / 2) / (levels - 1) + (y % 2 ? off : -off);
            const int shown = std::clamp(grey, 0, 255);
            bands.setPixel(x, y, qRgb(shown, shown, shown));
        }
    }
    return bands;
}

// The frames a panel of the profile takes from the wire, one after another; none spoilt.
std::vector<PanelPicture> framesTaken(port_signals::StreamDecoder& decoder, const Bytes& wire) {
    std::vector<PanelPicture> taken;
    for (const std::uint8_t byte : wire) {
        decoder.write(byte);
        if (decoder.frames() > static_cast<long>(taken.size())) {
            taken.push_back(decoder.lastFrame());
        }
    }
    const auto [d7, onClock, badLines, badFrames, ac] = decoder.faults();
    EXPECT_EQ(d7 + onClock + badLines + badFrames + ac, 0);
    return taken;
}

// Bands of every level on panels of 4 and 16 greys: `lpt` writes each band's level, a byte a
// pixel, its grey taken to the nearest level; `play`, through the real refresh onto the
// recording port, sends what `stream` writes. Decoded frame by frame, each pixel of level k
// is lit exactly k times in any L - 1 frames in a row, and in every frame every 16 x 16 block
// of a band, wherever it lies, has k / (L - 1) of its pixels lit, within 2: no area blinks as
// a whole. The virtual panel's snapshot shows each level's grey and its status the greys and
// the cycle rate.
TEST_F(PanelProfiles, GreyBandsAreLitKOfEveryLMinusOneFramesEvenlyAndTheVirtualPanelShowsThem) {
    for (const int levels : {4, 16}) {
        SCOPED_TRACE(std::to_string(levels) + " levels");
        const int steps = levels - 1, width = 32 * levels, lines = 32;
        const std::string profile = write("grey.json", greyPanel(levels));
        savePicture(greyBands(levels, 5), folder / "bands.png");
        ASSERT_EQ(run({"lpt", "bands.png", "--panel", profile, "-o", "f.bin"}).status, 0);
        Bytes frame(static_cast<std::size_t>(width * lines));
        for (std::size_t i = 0; i < frame.size(); ++i) {
            frame[i] = static_cast<std::uint8_t>(i % width / 32);
        }
        EXPECT_EQ(readBytes(folder / "f.bin"), frame);
        EXPECT_THAT(run({"profile", profile}).out,
                    HasSubstr("\"invert\": true,\n  \"grey_levels\": " + std::to_string(levels)));

        const std::string frames = std::to_string(2 * steps + 3);  // the last cycle cut short
        ASSERT_EQ(run({"stream", "bands.png", "--panel", profile, "--frames", frames}).status, 0);
        setenv("DOTWALL_RECORDED_PORT", (folder / "port").c_str(), 1);
        const ProgramRun played = runProgram(
            DOTWALL_FRAME_ON_RECORDING_PORT,
            {"play", "bands.png", "--panel", profile, "--frames", frames}, folder.path());
        unsetenv("DOTWALL_RECORDED_PORT");
        double framesPerSecond = 0, cyclesPerSecond = 0;
        EXPECT_EQ(std::sscanf(played.out.c_str(), "%*d frames at %lf frames/s, %lf cycles/s of",
                              &framesPerSecond, &cyclesPerSecond),
                  2);
        // Both rates are printed rounded to 0.01, the cycle rate from the unrounded frame rate.
        EXPECT_NEAR(cyclesPerSecond * steps, framesPerSecond, 0.0051 * (steps + 1)) << played.out;
        Bytes stream = readBytes(folder / "lpt_stream.bin");
        stream.push_back(0);
        EXPECT_EQ(readBytes(folder / "port"), stream);

        port_signals::StreamDecoder decoder(loadPanelProfile((folder / profile).string()));
        const std::vector<PanelPicture> sent = framesTaken(decoder, stream);
        ASSERT_EQ(std::to_string(sent.size()), frames);
        int wrongCounts = 0, unevenBlocks = 0;
        for (std::size_t first = 0; first + steps <= sent.size(); ++first) {
            for (int y = 0; y < lines; ++y) {
                for (int x = 0; x < width; ++x) {
                    int lit = 0;
                    for (int f = 0; f < steps; ++f) {
                        lit += sent[first + f].lit(x, y);
                    }
                    wrongCounts += lit != x / 32;
                }
            }
        }
        for (const PanelPicture& bits : sent) {
            for (int left = 0; left + 16 <= width; ++left) {
                for (int top = 0; top + 16 <= lines; ++top) {
                    int lit = 0;
                    for (int i = 0; i < 256; ++i) {
                        lit += bits.lit(left + i % 16, top + i / 16);
                    }
                    unevenBlocks += left / 32 == (left + 15) / 32 &&
                                    std::abs(lit * steps - 256 * (left / 32)) > 2 * steps;
                }
            }
        }
        EXPECT_EQ(wrongCounts, 0);
        EXPECT_EQ(unevenBlocks, 0);

        // On a virtual panel of the test's own, once a whole cycle was taken.
        setenv("DOTWALL_VIRTUAL_PANEL", ("grey-" + std::to_string(getpid())).c_str(), 1);
        setenv("DOTWALL_PANEL", (folder / profile).c_str(), 1);
        const pid_t playing =
            startProgram(DOTWALL_FRAME_ON_VIRTUAL_PORT, {"play", "bands.png", "--panel", profile},
                         folder.path());
        unsetenv("DOTWALL_PANEL");
        panel_link::LinkReader link(panel_link::objectName());
        EXPECT_TRUE(waitUntil([&] {
            return link.follow() && link.counters().frames > static_cast<std::uint64_t>(steps);
        }));
        const ProgramRun snapshot =
            runProgram(DOTWALL_PANEL_PATH, {"--snapshot", "s.png"}, folder.path());
        kill(playing, SIGTERM);
        EXPECT_EQ(finishStopped(playing, folder.path()).status, 0);
        unsetenv("DOTWALL_VIRTUAL_PANEL");
        EXPECT_EQ(loadPicture(folder / "s.png").convertToFormat(QImage::Format_RGB32),
                  greyBands(levels, 0));
        EXPECT_EQ(std::sscanf(snapshot.out.c_str(),
                              "Panel \"grey\", %*d x 32: %*d greys, %lf cycles/s, %lf frames/s",
                              &cyclesPerSecond, &framesPerSecond),
                  2)
            << snapshot.out;
        EXPECT_NEAR(cyclesPerSecond * steps, framesPerSecond, 0.051 * (steps + 1)) << snapshot.out;
        EXPECT_THAT(snapshot.out, HasSubstr(std::to_string(levels) + " greys, "));
    }
}

// play of two pictures on a grey panel, noise of every level and the bands: each pixel of the
// noise is lit in as many frames of its cycle as its level; the bands take over where a cycle
// begins, and each cycle goes out whole and in order. Dithered, a flat grey between two levels
// takes those two in the share that makes its brightness. A frame of another layout, or a byte
// above the top level, is refused with the numbers.
TEST_F(PanelProfiles, AGreyPictureTakesOverWhereACycleBeginsAndDitheringKeepsItsBrightness) {
    for (const int levels : {4, 16}) {
        SCOPED_TRACE(std::to_string(levels) + " levels");
        const int steps = levels - 1;
        const std::string profile = write("grey.json", greyPanel(levels));
        std::vector<QRgb> greys;  // each level's grey
        for (int level = 0; level < levels; ++level) {
            greys.push_back(greyBands(levels, 0).pixel(32 * level, 0));
        }
        const QImage noise = noisePicture(32 * levels, 32, greys);
        savePicture(noise, folder / "a.png");
        savePicture(greyBands(levels, 0, true), folder / "b.png");
        const PanelProfile panel = loadPanelProfile((folder / profile).string());
        std::vector<std::vector<PanelPicture>> cycles;
        for (const char* picture : {"a.png", "b.png"}) {
            ASSERT_EQ(run({"stream", picture, "--panel", profile, "--frames", std::to_string(steps),
                           "-o", "cycle.bin"})
                          .status,
                      0);
            port_signals::StreamDecoder decoder(panel);
            cycles.push_back(framesTaken(decoder, readBytes(folder / "cycle.bin")));
        }
        int wrongCounts = 0;  // each pixel of the noise lit in as many frames as its level
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < noise.width(); ++x) {
                const auto lit = std::ranges::count_if(
                    cycles[0], [&](const PanelPicture& frame) { return frame.lit(x, y); });
                wrongCounts += lit != (qGray(noise.pixel(x, y)) * steps + 127) / 255;
            }
        }
        EXPECT_EQ(wrongCounts, 0);
        setenv("DOTWALL_RECORDED_PORT", (folder / "port").c_str(), 1);
        const ProgramRun played = runProgram(
            DOTWALL_FRAME_ON_RECORDING_PORT,
            {"play", "a.png", "b.png", "--seconds", "1", "--panel", profile}, folder.path());
        unsetenv("DOTWALL_RECORDED_PORT");
        EXPECT_THAT(played.out, HasSubstr("; 2 pictures shown, 0 dropped"));
        port_signals::StreamDecoder decoder(panel);
        const std::vector<PanelPicture> shown = framesTaken(decoder, readBytes(folder / "port"));
        std::size_t switched = 0, wrong = 0;
        while (switched < shown.size() && shown[switched] == cycles[0][switched % steps]) {
            ++switched;
        }
        for (std::size_t f = switched; f < shown.size(); ++f) {
            wrong += shown[f] != cycles[1][f % steps];
        }
        EXPECT_EQ(switched % steps, 0u);
        EXPECT_GT(switched, 0u);
        EXPECT_LT(switched, shown.size());
        EXPECT_EQ(wrong, 0u);

        // 100 of 255: 1.18 of 3 steps, 5.88 of 15.
        QImage flat(32 * levels, 32, QImage::Format_RGB32);
        flat.fill(qRgb(100, 100, 100));
        savePicture(flat, folder / "flat.png");
        ASSERT_EQ(run({"lpt", "flat.png", "--panel", profile, "--dither", "-o", "f.bin"}).status,
                  0);
        const Bytes dithered = readBytes(folder / "f.bin");
        const int below = 100 * steps / 255;
        EXPECT_EQ(
            std::ranges::count_if(dithered, [&](int l) { return l != below && l != below + 1; }),
            0);
        EXPECT_NEAR(std::accumulate(dithered.begin(), dithered.end(), 0.0) / dithered.size(),
                    100.0 * steps / 255, 0.01);
    }
    writeBytes(folder / "bits.bin", Bytes(512 * 32 / 4, 0));
    writeBytes(folder / "high.bin", Bytes(512 * 32, 16));
    for (const auto& [frame, said] :
         {std::pair{"bits.bin",
                    "holds 4096 bytes, but a frame holds 16384 for the panel \"grey\" "
                    "of 16 grey levels, a byte a pixel."},
          {"high.bin",
           "not a panel frame: its byte 0 holds 16, but a pixel's level is 0 to 15."}}) {
        const ProgramRun refused = run({"preview", frame, "--panel", "grey.json", "-o", "p.png"});
        EXPECT_EQ(refused.status, 1);
        EXPECT_THAT(refused.err, HasSubstr(said));
    }
}

// Port bytes as written, for a stream the test makes itself.
struct RecordedPort final : port_signals::PortWriter {
    void write(std::uint8_t byte) override { bytes.push_back(byte); }
    Bytes bytes;
};

// Whatever N and the lines, and with "frame", every line is latched high in one frame and low
// in the next. Frames that each start as the first (turns counted from each frame's start
// alone) hold lines at one level: the DC a panel suffers, counted, those frames not taken.
TEST(AcLine, EveryLineIsLatchedAtBothLevelsInTurnAndAStreamThatHoldsALineIsCounted) {
    for (const auto& [lines, toggle] :
         {std::pair{26, "13"}, {24, "6"}, {10, "4096"}, {10, "4"}, {240, "1"}, {3, "\"frame\""}}) {
        SCOPED_TRACE(std::to_string(lines) + " lines, ac_toggle " + toggle);
        const PanelProfile profile = parsePanelProfile(
            R"({"name": "p", "width": 8, "data": [0, 1, 2, 3], "shift_clock": 4, "line_latch": 5,
                "frame_marker": 6, "ac": 7, "lines": )" +
                std::to_string(lines) + ", \"ac_toggle\": " + toggle + "}",
            "test");
        const Bytes frame(profile.frameBytes(), 0b0101);
        constexpr int kFrames = 4;
        RecordedPort encoded;
        port_signals::FrameEncoder encoder(profile);
        port_signals::StreamDecoder decoder(profile), held(profile);
        for (int f = 0; f < kFrames; ++f) {
            encoder.writeFrame(frame, encoded);
            port_signals::FrameEncoder(profile).writeFrame(frame, held);
        }
        std::vector<int> highs(static_cast<std::size_t>(lines));
        std::size_t latched = 0;
        for (const std::uint8_t byte : encoded.bytes) {
            decoder.write(byte);
            if ((byte & 0x7F) == 0x20) {  // a line's latch, at the AC level it was latched with
                highs[latched++ % highs.size()] += byte >> 7;
            }
        }
        EXPECT_EQ(highs, std::vector<int>(highs.size(), kFrames / 2));
        EXPECT_EQ(decoder.frames(), kFrames);
        EXPECT_EQ(decoder.faults().acNotTurnedOver, 0);
        EXPECT_EQ(held.faults().acNotTurnedOver, kFrames - 1);
        EXPECT_EQ(held.frames(), 1);
    }
}

TEST_F(PanelProfiles, FitScalesThePictureToFillThePanelAndPreviewDrawsItsFrame) {
    const std::string profile = write("panel.json", kPanels[0].json);
    // Twice the panel's width and height: the left half black, the right white.
    QImage picture(640, 400, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(0, 0, 320, 400, Qt::black);
    savePicture(picture, folder / "p.png");
    ASSERT_EQ(run({"lpt", "p.png", "--panel", profile, "--fit", "--dither", "-o", "f.bin"}).status,
              0);
    ASSERT_EQ(run({"preview", "f.bin", "--panel", profile, "-o", "look.png"}).status, 0);
    const QImage look = loadPicture(folder / "look.png");
    ASSERT_EQ(look.size(), QSize(320, 200));
    for (const QPoint dark : {QPoint(0, 0), QPoint(150, 100), QPoint(158, 199)}) {
        EXPECT_EQ(look.pixel(dark), qRgb(0, 0, 0)) << dark.x() << "," << dark.y();
    }
    for (const QPoint lit : {QPoint(162, 0), QPoint(319, 199)}) {
        EXPECT_EQ(look.pixel(lit), qRgb(255, 255, 255)) << lit.x() << "," << lit.y();
    }
    const ProgramRun wrong = run({"preview", "f.bin", "--panel", "dotwall-lpt", "-o", "x.png"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_THAT(wrong.err, HasSubstr("holds 16000 bytes, but a frame holds 38560 for the panel "
                                     "\"dotwall-lpt\""));
}

TEST_F(PanelProfiles, AProfileThatCannotBeUsedIsOneLineNamingTheFileTheKeyAndWhatIsWrong) {
    const ProgramRun builtIn = run({"profile", "dotwall-lpt"});
    EXPECT_EQ(builtIn.out,
              "{\n  \"name\": \"dotwall-lpt\",\n  \"width\": 640,\n  \"lines\": 241,\n  \"data\": "
              "[3, 2, 1, 0],\n  \"shift_clock\": 6,\n  \"line_latch\": 4,\n  \"frame_marker\": 5,"
              "\n  \"invert\": false,\n  \"frames_per_second\": 0\n}\n");
    const std::string copy = write("copy.json", builtIn.out);
    EXPECT_EQ(run({"profile", copy}).out, builtIn.out) << "a starting point for one's own";

    const std::string good = R"("name": "p", "width": 8, "lines": 2, "data": [0, 1, 2, 3],
        "shift_clock": 4, "line_latch": 5, "frame_marker": 6)";
    std::string emoji = "{" + good + "}";  // a surrogate pair is one character, in UTF-8
    emoji.replace(emoji.find("\"p\""), 3, R"("\ud83d\ude00")");
    EXPECT_EQ(parsePanelProfile(emoji, "emoji").name, "\xF0\x9F\x98\x80");
    const struct {
        std::string json;
        std::string said;
    } cases[] = {
        {"{" + good + ", \"colour\": 1}", "the key \"colour\" is unknown"},
        {R"({"name": "p"})", "the key \"width\" is missing"},
        {"{" + good + ", \"width\": 6}", "the key \"width\" is given twice"},
        {R"({"name": "p", "width": 6, "lines": 2})",
         "\"width\" is 6, but must be a multiple of 4 from 4 to 4096"},
        {R"({"name": "p", "width": 8.5})", "\"width\" is 8.5, but must be a multiple of 4"},
        {R"({"name": "p", "width": 8, "lines": 0})",
         "\"lines\" is 0, but must be a whole number from 1 to 4096"},
        {R"({"name": "p", "width": 8, "lines": 4097})", "\"lines\" is 4097, but must be"},
        {R"({"name": "p", "width": 8, "lines": 2, "data": [0, 1, 2]})",
         "\"data\" must be a list of the 4 port bits of a group's pixels, leftmost first"},
        {"{" + good + ", \"ac\": 2}", "bit 2 is used by both \"data\" (position 3) and \"ac\""},
        {R"({"name": "p", "width": 8, "lines": 2, "data": [1, 1, 2, 3]})",
         "\"data\" uses bit 1 twice (positions 1 and 2)"},
        {"{" + good + ", \"ac\": 8}", "\"ac\" is 8, but must be a port bit from 0 to 7"},
        {"{" + good + ", \"ac_toggle\": \"frame\"}", "\"ac_toggle\" needs \"ac\""},
        {"{" + good + ", \"ac\": 7, \"ac_toggle\": \"line\"}",
         "\"ac_toggle\" is a string, but must be \"frame\" or a whole number"},
        {"{" + good + ", \"invert\": 1}", "\"invert\" is a number, but must be true or false"},
        {"{" + good + ", \"grey_levels\": 1}",
         "\"grey_levels\" is 1, but must be a whole number from 2 (black and white) to 16"},
        {"{" + good + ", \"grey_levels\": 4294967298}",
         "\"grey_levels\" is 4294967298, but must be"},
        {"{" + good + ", \"grey_levels\": 17}", "\"grey_levels\" is 17, but must be"},
        {"{" + good + ", \"grey_levels\": 2.5}", "\"grey_levels\" is 2.5, but must be"},
        {"{" + good + ", \"grey_levels\": \"4\"}", "\"grey_levels\" is a string, but must be"},
        {"{" + good + ", \"frames_per_second\": 1e-300}",
         "\"frames_per_second\" is 1e-300, but must be 0 (as fast as the port goes) or from 1 "
         "(slower, the picture fades and DC stays on the glass) to 500000 ("},
        {"{" + good + ", \"frames_per_second\": 500001}", "\"frames_per_second\" is 500001"},
        {"{" + good + ", \"frames_per_second\": -1}", "\"frames_per_second\" is -1"},
        {R"({"name": "p\u0000"})", "\"name\" holds \\u0000"},
        {R"({"name": "\ud83d\u0041"})",
         "it is no JSON: \"name\" holds \\ud83d, half of a surrogate pair without the other "
         "half, at line 1, column 11"},
        {R"({"\udc00": 1})", "it is no JSON: a key holds \\udc00"},
        {"{" + good, "it is no JSON: a ',' or '}' was expected at line 2, column 61"},
        {"[1]", "it holds a list, not an object of keys"},
    };
    for (const auto& row : cases) {
        write("bad.json", row.json);
        const ProgramRun refused =
            run({"stream", "missing.png", "--panel", "bad.json", "--frames", "1", "-o", "s.bin"});
        EXPECT_EQ(refused.status, 1) << row.json;
        EXPECT_TRUE(refused.err.starts_with(
            "DotwallFrame: The panel profile \"bad.json\" cannot be used: " + row.said))
            << refused.err;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "s.bin")) << "nothing is written";
}

}  // namespace
}  // namespace dotwall::testing

// Panels unlike DotwallLpt's, as their profiles describe them, through DotwallFrame run as a
// process: the frames and streams it writes against the test's own, decoded by the panel's
// decoder back into the picture, and the profiles it refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPainter>

#include "expected_frames.h"
#include "frames/panel_profile.h"
#include "frames/port_signals.h"
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

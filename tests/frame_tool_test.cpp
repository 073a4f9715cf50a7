// DotwallFrame run as a process, as a script runs it: the frames and streams it writes
// against expectations worked out independently, its usage and its failures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <QImage>
#include <atomic>
#include <chrono>
#include <climits>
#include <numeric>
#include <set>
#include <thread>

#include "base/stop_signals.h"
#include "base/whole_file.h"
#include "expected_frames.h"
#include "frames/port_signals.h"
#include "test_files.h"

namespace dotwall::testing {
namespace {

using ::testing::HasSubstr;

class FrameTool : public ::testing::Test {
  protected:
    ProgramRun run(const std::vector<std::string>& arguments,
                   std::optional<rlim_t> fileSizeLimit = std::nullopt) {
        return runProgram(DOTWALL_FRAME_PATH, arguments, folder.path(), fileSizeLimit);
    }

    std::string save(const QImage& picture, const std::string& name) {
        savePicture(picture, folder / name);
        return name;
    }

    TemporaryFolder folder;
};

TEST_F(FrameTool, LptPacksAColourPictureAsItIsAndStreamAndPreviewCarryItsFrame) {
    // Colour values 128 and 129 lie either side of the threshold; red 100 is dark and green or
    // blue 1 lit only when red sits in the low byte. Wider and higher than the grid's picture.
    const QImage picture =
        noisePicture(700, 260,
                     {qRgb(128, 0, 0), qRgb(129, 0, 0), qRgb(100, 0, 0), qRgb(0, 1, 0),
                      qRgb(0, 0, 1), qRgb(0, 0, 0), qRgb(255, 255, 255)});
    const std::string name = save(picture, "colours.png");
    const Bytes frame = expectedLptFrame(picture);

    ASSERT_EQ(run({"lpt", name}).status, 0);
    EXPECT_EQ(readBytes(folder / "lpt_frame.bin"), frame);

    ASSERT_EQ(run({"stream", name, "--frames", "2"}).status, 0);
    EXPECT_EQ(readBytes(folder / "lpt_stream.bin"), expectedPortStream(frame, 2));

    // The preview shows the frame, each pixel white or black.
    ASSERT_EQ(run({"preview", "lpt_frame.bin", "-o", "look.png"}).status, 0);
    const QImage look = loadPicture(folder / "look.png");
    ASSERT_EQ(look.size(), QSize(640, 241));
    const PanelPicture shown = panelPicture(640, 241, litIn(frame));
    auto notBlack = [&](int x, int y) { return look.pixel(x, y) != qRgb(0, 0, 0); };
    EXPECT_EQ(panelPicture(640, 241, whiteIn(look)), shown);
    EXPECT_EQ(panelPicture(640, 241, notBlack), shown);

    // An 8-bit grey and a black-and-white picture, read where they are, pack as their colours
    // say; one the grid's size, fitted and dithered, packs as itself with an alpha channel,
    // which is scaled and composed on white first.
    for (const QImage::Format format : {QImage::Format_Grayscale8, QImage::Format_Mono}) {
        const QImage same = picture.convertToFormat(format, Qt::ThresholdDither);
        ASSERT_EQ(run({"lpt", save(same, "same.png")}).status, 0);
        EXPECT_EQ(readBytes(folder / "lpt_frame.bin"), expectedLptFrame(same)) << format;
        const QImage gridSized = same.copy(0, 0, 640, 240);
        const std::string alpha = save(gridSized.convertToFormat(QImage::Format_ARGB32), "a.png");
        for (const std::string& file : {save(gridSized, "g.png"), alpha}) {
            ASSERT_EQ(run({"lpt", file, "--fit", "--dither", "-o", file + ".bin"}).status, 0);
        }
        EXPECT_EQ(readBytes(folder / "g.png.bin"), readBytes(folder / "a.png.bin")) << format;
    }
}

// play on the recording port library, which writes what it was sent to `port` as the driver
// stops, for DotwallLpt's panel at the 20 frames a second its profile sets: the rate told is at
// most that, and at least three frames in the time the whole run took, however busy the machine.
TEST_F(FrameTool, PlayStreamsAsGoDoesAtTheProfilesRateThenLeavesThePortLowAndTellsTheRate) {
    const std::string name = save(noisePicture(640, 240, kBlackAndWhite), "p.png");
    std::ofstream(folder / "slow.json")
        << R"({"name": "slow", "width": 640, "lines": 241, "data": [3, 2, 1, 0],
               "shift_clock": 6, "line_latch": 4, "frame_marker": 5, "frames_per_second": 20})";
    ASSERT_EQ(run({"stream", name, "--frames", "3", "--panel", "slow.json"}).status, 0);
    Bytes expected = readBytes(folder / "lpt_stream.bin");
    expected.push_back(0);
    const auto port = folder / "port";
    setenv("DOTWALL_RECORDED_PORT", port.c_str(), 1);
    const ProgramRun three =
        runProgram(DOTWALL_FRAME_ON_RECORDING_PORT,
                   {"play", name, "--frames", "3", "--panel", "slow.json"}, folder.path());
    unsetenv("DOTWALL_RECORDED_PORT");
    EXPECT_EQ(three.status, 0) << three.err;
    EXPECT_EQ(readBytes(port), expected);
    double rate = 0;
    EXPECT_EQ(std::sscanf(three.out.c_str(), "3 frames at %lf frames/s\n", &rate), 1) << three.out;
    EXPECT_LE(rate, 20.01);
    EXPECT_GE(rate, 3 / three.seconds);
}

// play on the recording port with Debian's ffmpeg as the source: six numbered pictures of its
// test source as a GIF of 500 ms delays and as a PNM stream at 2 a second into a FIFO, on a
// panel of 50 frames a second: only a stall of the source, the worker or the refresh over
// 480 ms brings two pictures within one frame, where the newer wins. Dithered so that each picture
// packs differently. Every frame sent is one whole picture; each picture is shown, none out of
// order; the animation's pictures last at least their time; a damaged frame ends it after the whole
// ones.
TEST_F(FrameTool, PlayShowsEveryPictureOfASlowerSourceWholeAndInOrder) {
    std::ofstream(folder / "fast.json")
        << R"({"name": "fast", "width": 640, "lines": 241, "data": [3, 2, 1, 0],
               "shift_clock": 6, "line_latch": 4, "frame_marker": 5, "frames_per_second": 50})";
    const std::string ffmpeg =
        "cd " + folder.path().string() +
        " && ffmpeg -loglevel error -nostdin -y -f lavfi -i "
        "testsrc=size=640x240:rate=2:duration=3,format=gray -f image2 p%d.pgm ";
    ASSERT_EQ(std::system((ffmpeg + "-loop -1 a.gif").c_str()), 0);
    std::vector<Bytes> pictures;
    for (int i = 1; i <= 6; ++i) {
        const std::string name = "p" + std::to_string(i) + ".pgm";
        ASSERT_EQ(
            run({"stream", name, "--panel", "fast.json", "-o", "one", "--frames", "1", "--dither"})
                .status,
            0);
        pictures.push_back(readBytes(folder / "one"));
    }
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    const auto port = folder / "port";
    setenv("DOTWALL_RECORDED_PORT", port.c_str(), 1);
    // Its fourth frame damaged (a code size past GIF's 11, after the frame's 8-byte control
    // block and 10-byte descriptor) or cut short, the animation shows the three before it,
    // then the reason.
    Bytes gif = readBytes(folder / "a.gif");
    const Bytes control{0x21, 0xf9, 0x04};
    auto fourth = gif.begin();
    for (int frame = 0; frame < 4; ++frame) {
        fourth = std::search(fourth + 1, gif.end(), control.begin(), control.end());
    }
    writeBytes(folder / "c.gif", Bytes(gif.begin(), fourth + 40));  // cut inside its data
    fourth[18] = 12;
    writeBytes(folder / "b.gif", gif);
    const struct {
        const char* source;
        std::size_t shown;
        std::string said = "";
    } sources[] = {{"a.gif", 6},
                   {"fifo", 6},
                   {"b.gif", 3,
                    "DotwallFrame: The picture \"b.gif\" cannot be loaded: its frame 4 of 6 is "
                    "damaged or cut short (Unable to read image data).\n"},
                   {"c.gif", 3,
                    "DotwallFrame: The picture \"c.gif\" cannot be loaded: its frame 4 of 4 is cut "
                    "short (the file ends inside it).\n"}};
    for (const auto& [source, count, said] : sources) {
        const bool stream = source == std::string("fifo");
        if (stream) {  // -re: at the pictures' own rate, slower than the panel
            ASSERT_EQ(
                std::system(("(" + std::string(ffmpeg).replace(ffmpeg.find("-f lavfi"), 0, "-re ") +
                             "-f image2pipe -c:v pgm fifo) &")
                                .c_str()),
                0);
        }
        const ProgramRun played =
            runProgram(DOTWALL_FRAME_ON_RECORDING_PORT,
                       {"play", source, "--panel", "fast.json", "--dither"}, folder.path());
        EXPECT_EQ(played.status, said.empty() ? 0 : 1) << played.err;
        EXPECT_THAT(played.err, ::testing::EndsWith(said));  // after a note of a slow port
        EXPECT_THAT(played.out,
                    HasSubstr("; " + std::to_string(count) + " pictures shown, 0 dropped\n"));
        const Bytes sent = readBytes(port);
        const std::size_t frameBytes = pictures[0].size();
        ASSERT_EQ(sent.size() % frameBytes, 1U);
        std::vector<std::size_t> shown;  // the picture of each frame sent
        for (std::size_t at = 0; at + 1 < sent.size(); at += frameBytes) {
            const auto picture = std::ranges::find_if(pictures, [&](const Bytes& frame) {
                return std::equal(frame.begin(), frame.end(), sent.begin() + at);
            });
            ASSERT_NE(picture, pictures.end()) << "frame " << at / frameBytes << " is torn";
            shown.push_back(picture - pictures.begin());
        }
        EXPECT_TRUE(std::ranges::is_sorted(shown));
        EXPECT_EQ(std::set(shown.begin(), shown.end()).size(), count);
        EXPECT_EQ(shown.back() + 1, count);
        // The GIF's delays of 500 ms keep the stream going at whatever rate it reached.
        const double rate = std::stod(played.out.substr(played.out.find(" at ") + 4));
        EXPECT_GE(static_cast<double>(shown.size()), stream ? 6.0 : rate * count / 2 - 1)
            << played.out;
    }
    unsetenv("DOTWALL_RECORDED_PORT");
}

TEST_F(FrameTool, WrongUsageExitsTwoAndBadInputExitsOneWithOneLineNamingTheFile) {
    save(QImage(4, 4, QImage::Format_RGB32), "p.png");
    writeBytes(folder / "short.bin", Bytes(38401, 0));
    writeBytes(folder / "frame.bin", Bytes(38560, 0));
    // Other names of the inputs: links to a file and to the folder, a hard link, "..".
    std::ofstream(folder / "panel.json") << R"({"name": "p", "width": 640, "lines": 241,
        "data": [3, 2, 1, 0], "shift_clock": 6, "line_latch": 4, "frame_marker": 5})";
    std::filesystem::create_symlink("p.png", folder / "sym");
    std::filesystem::create_symlink("panel.json", folder / "panel.png");
    std::filesystem::create_symlink(".", folder / "here");
    std::filesystem::create_hard_link(folder / "p.png", folder / "hard.bin");
    std::filesystem::create_hard_link(folder / "frame.bin", folder / "hard.png");
    std::filesystem::create_directory(folder / "sub");
    const std::string lpt = DOTWALL_LPT_PATH, panel = DOTWALL_PANEL_PATH;
    // What a program prints is part of its work: a full disk or a closed pipe fails it.
    const std::string full = ": Cannot write to standard output: No space left on device.",
                      closed = ": Cannot write to standard output: Broken pipe.";
    using enum Output;
    struct Case {
        std::vector<std::string> arguments;  // DotwallFrame's, unless the first names a program
        int status;
        std::string said;
        Output output = Taken;
    };
    std::vector<Case> cases = {
        {{"--help"}, 1, "DotwallFrame" + full, Full},
        {{"profile", "dotwall-lpt"}, 1, "DotwallFrame" + closed, ClosedPipe},
        {{lpt, "--help"}, 1, "DotwallLpt" + closed, ClosedPipe},
        {{DOTWALL_USB_PATH, "--version"}, 1, "DotwallUsb" + full, Full},
        {{panel, "frame.bin", "--snapshot", "/dev/null"}, 1, "DotwallPanel" + closed, ClosedPipe},
        {{lpt, "p.png", "q.png"}, 2, "DotwallLpt: \"q.png\" is one word too many"},
        {{lpt, "--go"}, 2, "DotwallLpt: Unknown option \"--go\""},
        {{"lpt", "-weird.png"},
         2,
         "Unknown option \"-weird.png\"; a file whose name begins with \"-\" is given as "
         "./-weird.png or after --."},
        {{"lpt", "--", "-p.png"}, 1, "The picture \"-p.png\" cannot be loaded: No such file"},
        {{panel, "--panel", "dotwall-lpt"}, 2, "DotwallPanel: --panel goes with FRAME"},
        {{panel, "short.bin", "--snapshot", "s.xyz"},
         1,
         "Cannot write the snapshot \"s.xyz\": Qt cannot write XYZ; it writes bmp, "},
        {{panel, "--scale", "+2"}, 2, "--scale takes a whole number from 1 to 4, not \"+2\""},
        {{panel, "--snapshot"}, 2, "DotwallPanel: Missing value after '--snapshot'"},
        {{}, 2, "DotwallFrame: no command given"},
        {{"draw", "p.png"}, 2, "unknown command \"draw\""},
        {{"usb"}, 2, "usb needs PICTURE"},
        {{"usb", "p.png", "-o", ""}, 2, "-o needs FILE, not an empty one"},
        {{"stream", "p.png"}, 2, "stream needs --frames N"},
        {{"stream", "p.png", "--frames", "5x"},
         2,
         "--frames takes a whole number from 1 to 1000000, not \"5x\""},
        {{"preview", "frame.bin", "-o", "x.png", "--scale", "2 "},
         2,
         "--scale takes a whole number from 1 to 16, not \"2 \""},
        {{"play", "p.png", "--seconds", "3s"},
         2,
         "--seconds takes a whole number from 1 to 86400, not \"3s\""},
        {{"play", "p.png", "--frames", "-1"},
         2,
         "--frames takes a whole number from 1 to 1000000, not \"-1\""},
        {{"play", "p.png", "--loop=2.0"},
         2,
         "--loop takes a whole number from 0 to 1000000, not \"2.0\""},
        {{"preview", "short.bin"}, 2, "preview needs -o PICTURE"},
        {{"lcdd", "--cell", "7x9"}, 2, "--cell takes one of 6x8, "},
        {{"lcdd", "--cell", "6x8x"}, 2, "--cell takes one of 6x8, "},
        {{"lcdd", "--listen", "localhost:65536"}, 2, "not \"localhost:65536\""},
        {{"preview", "short.bin", "-o", "x.png", "--scale", "17"}, 2, "--scale takes"},
        {{"preview", "short.bin", "-o", "x.png"}, 1, "holds 38401 bytes, but a frame holds 38402"},
        {{"preview", "short.bin", "-o", "x.gif"}, 1, "Cannot write \"x.gif\": Qt cannot write GIF"},
    };
    // An output that is an input by another name (and the input it is): refused before anything
    // is written, whichever file it would destroy.
    const std::pair<std::vector<std::string>, std::string> inputs[] = {
        {{"lpt", "p.png", "-o", "sym"}, "p.png"},
        {{"lpt", "sym", "--panel", "panel.json", "-o", "here/panel.json"}, "panel.json"},
        {{"usb", "p.png", "-o", "hard.bin"}, "p.png"},
        {{"stream", "sym", "--frames", "1", "-o", "sub/../p.png"}, "sym"},
        {{"stream", "p.png", "--frames", "1", "--panel", "panel.json", "-o",
          "here/sub/../panel.png"},
         "panel.json"},
        {{"preview", "frame.bin", "-o", "here/hard.png"}, "frame.bin"},
        {{"preview", "frame.bin", "--panel", "panel.json", "-o", "panel.png"}, "panel.json"},
        {{panel, "frame.bin", "--snapshot", "hard.png"}, "frame.bin"},
        {{panel, "frame.bin", "--panel", "panel.json", "--snapshot", "panel.png"}, "panel.json"},
    };
    for (const auto& [words, input] : inputs) {
        const std::string what = words[0] == "usb"   ? "the frame file "
                                 : words[0] == panel ? "the snapshot "
                                                     : "";
        cases.push_back({words, 1,
                         "Cannot write " + what + "\"" + words.back() + "\": it is the input \"" +
                             input +
                             "\", which the output would destroy; choose another output.\n"});
    }
    for (const auto& row : cases) {
        std::vector<std::string> words = row.arguments;
        if (words.empty() || !words[0].starts_with("/")) {
            words.insert(words.begin(), DOTWALL_FRAME_PATH);
        }
        const ProgramRun result = runProgram(words[0], {words.begin() + 1, words.end()},
                                             folder.path(), std::nullopt, row.output);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.status, row.status);
        EXPECT_THAT(result.err, HasSubstr(row.said));
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), row.status == 2 ? 2 : 1);
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 10)
        << "nothing was written";
    // The windows' programs tell their help without a window system to reach.
    for (const auto& [program, usage] :
         {std::pair{lpt, "Usage: DotwallLpt [PICTURE]\n"},
          {panel,
           "Usage: DotwallPanel [FRAME] [--scale K] [--panel PROFILE] [--snapshot "
           "PICTURE]\n"}}) {
        const ProgramRun help = runProgram(
            "/usr/bin/env",
            {"-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", program, "--help"},
            folder.path());
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.starts_with(usage)) << help.out;
    }
}

TEST_F(FrameTool, APictureIsTakenOnlyWhenItsDecoderReadAllOfItElseTheReasonIsTold) {
    const QImage white = noisePicture(8, 8, {qRgb(255, 255, 255)});
    QImage deep(6000, 6000, QImage::Format_RGBA64);  // 36 megapixels, 8 bytes each
    deep.fill(Qt::white);
    save(deep, "deep.png");
    std::filesystem::rename(folder / save(white, "white.png"), folder / "caf\xe9.png");
    for (const std::string name : {"cut.jpg", "cut.png", "rows.bmp"}) {  // their first 1000 bytes
        const Bytes whole = readBytes(folder / save(noisePicture(640, 480, kBlackAndWhite), name));
        writeBytes(folder / name, Bytes(whole.begin(), whole.begin() + 1000));
    }
    Bytes far = readBytes(folder / save(white, "far.bmp"));  // 54 bytes of header, 192 of pixels
    far[12] = 1;  // the pixels said to start 65536 bytes further on
    writeBytes(folder / "far.bmp", far);
    writeBytes(folder / "huge.pbm",
               Bytes{'P', '4', ' ', '9', '0', '0', '0', ' ', '9', '0', '0', '0', ' '});
    writeBytes(folder / "notes.png", Bytes(64, 'x'));
    std::filesystem::create_directory(folder / "folder.png");
    const std::string damaged = "it is damaged: its header promises more pixel data than its ";
    const struct {
        std::string name;
        std::string reason;  // "" when it loads
    } cases[] = {
        {"deep.png", ""},
        {"caf\xe9.png", ""},
        {"cut.jpg", "it is damaged: Corrupt JPEG data: premature end of data segment"},
        {"far.bmp", damaged + "246 bytes hold"},
        {"rows.bmp", damaged + "1000 bytes hold"},
        {"huge.pbm", "it is 9000 x 9000 pixels, more than the 50 megapixels a picture may have"},
        {"cut.png",
         "it is damaged or cut short, or a kind of PNG picture Qt cannot decode (the decoder "
         "said \"Read Error\")"},
        {"notes.png", "it is no picture Qt reads"},
        {"folder.png", "Is a directory"},
        {"missing.png", "No such file or directory"},
    };
    for (const auto& row : cases) {
        const ProgramRun result = run({"lpt", row.name, "-o", "out.bin"});
        EXPECT_EQ(result.err, row.reason.empty()
                                  ? ""
                                  : "DotwallFrame: The picture \"" + row.name +
                                        "\" cannot be loaded: " + row.reason + ".\n");
        EXPECT_EQ(result.status, row.reason.empty() ? 0 : 1) << row.name;
        EXPECT_EQ(readBytes(folder / "out.bin"),
                  row.reason.empty() ? expectedLptFrame(white) : Bytes())
            << row.name;
        std::filesystem::remove(folder / "out.bin");
    }
}

// What the folder holds besides the picture, one line each: a link and where it leads, or a
// file's mode, size and first byte; then how much went to standard output.
std::string leftBehind(const std::filesystem::path& folder, const ProgramRun& run) {
    std::set<std::string> lines;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        char line[NAME_MAX + 64];
        const Bytes bytes = readBytes(entry.path());
        std::snprintf(line, sizeof line, "%s %o %zu %02x\n", name.c_str(),
                      static_cast<unsigned>(entry.status().permissions()), bytes.size(),
                      bytes.empty() ? 0u : bytes[0]);
        lines.insert(entry.is_symlink()
                         ? name + " -> " + std::filesystem::read_symlink(entry).string() + "\n"
                     : name == "p.png" ? ""
                                       : line);
    }
    return std::accumulate(lines.begin(), lines.end(), std::string()) +
           (run.out.empty() ? "" : "stdout " + std::to_string(run.out.size()) + "\n");
}

TEST_F(FrameTool, AFailedOrStoppedWriteLeavesTheOldFileOrNoneAndTheTargetKeepsItsLinkAndMode) {
    save(noisePicture(8, 8, {qRgb(255, 255, 255)}), "p.png");  // every frame byte lit
    umask(022);
    const std::string longest(NAME_MAX, 'n');  // the temporary beside it fits all the same
    // Root may write a file that the group or others may write; its owner may not.
    const bool root = geteuid() == 0;
    const struct {
        std::vector<std::string> arguments;  // the picture goes after the command
        std::string reason;                  // "" when it succeeds
        std::string after;
        std::string before = "";  // at out.bin: a 50000-byte file of 0xAB in this mode, or a link
        std::optional<rlim_t> fileSizeLimit = std::nullopt;
    } cases[] = {
        {{"usb", "-o", "out.bin"}, "File too large", "", "", 10000},
        {{"usb", "-o", "out.bin"}, "File too large", "out.bin 620 50000 ab\n", "620", 10000},
        {{"usb", "-o", "out.bin"}, "", "out.bin 620 50000 ff\n", "620"},
        {{"usb", "-o", "out.bin"}, "it is read-only", "out.bin 444 50000 ab\n", "444"},
        {{"usb", "-o", "out.bin"}, "", "out.bin -> t.bin\nt.bin 644 38402 ff\n", "link"},
        {{"usb", "-o", "caf\xe9.bin"}, "", "caf\xe9.bin 644 38402 ff\n"},
        {{"lpt", "-o", "out.bin"}, "", "out.bin 620 38560 0f\n", "620"},
        {{"lpt", "-o", "out.bin"},
         root ? "" : "it is read-only",
         root ? "out.bin 20 38560 0f\n" : "out.bin 20 0 00\n",
         "020"},
        {{"lpt", "-o", "out.bin"},
         root ? "" : "it is read-only",
         root ? "out.bin 2 38560 0f\n" : "out.bin 2 0 00\n",
         "002"},
        {{"lpt", "-o", longest}, "", longest + " 644 38560 0f\n"},
        {{"lpt", "-o", "/dev/stdout"}, "", "stdout 38560\n"},
        {{"stream", "--frames", "3", "-o", "out.bin"}, "File too large", "", "", 10000},
        {{"stream", "--frames", "1000000", "-o", "/dev/full"}, "No space left on device", ""},
    };
    for (const auto& row : cases) {
        if (row.before == "link") {
            std::filesystem::create_symlink("t.bin", folder / "out.bin");
        } else if (!row.before.empty()) {
            writeBytes(folder / "out.bin", Bytes(50000, 0xAB));
            chmod((folder / "out.bin").c_str(), std::stoi(row.before, nullptr, 8));
        }
        std::vector<std::string> arguments = row.arguments;
        arguments.insert(arguments.begin() + 1, "p.png");
        const ProgramRun result = run(arguments, row.fileSizeLimit);
        const std::string file =
            (arguments[0] == "usb" ? "the frame file \"" : "\"") + arguments.back() + "\": ";
        EXPECT_EQ(result.err, row.reason.empty()
                                  ? ""
                                  : "DotwallFrame: Cannot write " + file + row.reason + ".\n");
        EXPECT_EQ(result.status, row.reason.empty() ? 0 : 1) << file;
        EXPECT_EQ(leftBehind(folder.path(), result), row.after) << file;
        for (const std::string name : {"out.bin", "t.bin", "caf\xe9.bin", longest.c_str()}) {
            std::filesystem::remove(folder / name);
        }
    }

    // Stopped mid-stream, it ends between two frames with 128 + the signal's number.
    mkfifo((folder / "fifo").c_str(), 0644);
    const pid_t streaming = startProgram(
        DOTWALL_FRAME_PATH, {"stream", "p.png", "--frames", "1000", "-o", "fifo"}, folder.path());
    std::ifstream fifo(folder / "fifo", std::ios::binary);
    fifo.ignore(1);
    kill(streaming, SIGTERM);
    const auto bytes = 1 + std::distance(std::istreambuf_iterator<char>(fifo), {});
    EXPECT_EQ(finishProgram(streaming, folder.path()).status, 128 + SIGTERM);
    EXPECT_EQ(bytes % port_signals::kWritesPerFrame, 0);

    // A stop while a file is written leaves the old file, and no other.
    std::filesystem::remove(folder / "fifo");
    writeBytes(folder / "out.bin", Bytes(50000, 0xAB));
    const pid_t writing =
        startProgram(DOTWALL_FRAME_PATH,
                     {"stream", "p.png", "--frames", "1000000", "-o", "out.bin"}, folder.path());
    ASSERT_TRUE(waitUntil([&] {  // p.png, out.bin, the run's two outputs and the temporary file
        return std::distance(std::filesystem::directory_iterator(folder.path()), {}) == 5;
    }));
    kill(writing, SIGTERM);
    const ProgramRun stopped = finishStopped(writing, folder.path());
    EXPECT_EQ(stopped.status, 128 + SIGTERM);
    EXPECT_EQ(leftBehind(folder.path(), stopped), "out.bin 644 50000 ab\n");
}

// A reader that takes nothing holds a write up: the slow stop is told, and a second signal ends
// the write at once, even when the signals land on another thread than the writer's (here its
// thread blocks them), where they never cut its write short.
TEST_F(FrameTool, ASecondSignalEndsAWriteThatAReaderHoldsUpWhicheverThreadTheSignalsLandOn) {
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    const int idle = ::open((folder / "fifo").c_str(), O_RDONLY | O_NONBLOCK);  // reads nothing
    const StandardErrorLines said;
    const StopSignals stopping("test");
    const StopSignals::HalfDone writing;
    std::atomic<bool> ended = false;
    std::string raised;
    std::thread writer([&] {
        sigset_t signalsElsewhere;
        sigemptyset(&signalsElsewhere);
        sigaddset(&signalsElsewhere, SIGTERM);
        sigaddset(&signalsElsewhere, SIGALRM);
        pthread_sigmask(SIG_BLOCK, &signalsElsewhere, nullptr);
        try {
            writeWholeFile(folder / "fifo", "", [](FileOutput& output) {
                const Bytes bytes(1 << 20);  // more than the pipe holds
                output.write(bytes.data(), bytes.size());
            });
        } catch (const RuntimeError& error) {
            raised = error.what();
        }
        ended = true;
    });
    kill(getpid(), SIGTERM);
    ASSERT_TRUE(
        waitUntil([&] { return said.lines().find("a second signal") != std::string::npos; }));
    kill(getpid(), SIGTERM);
    EXPECT_TRUE(waitUntil([&] { return ended.load(); }));
    for (char drained[4096]; !ended;) {  // a writer still held is let go, for the test to end
        [[maybe_unused]] const ssize_t got = ::read(idle, drained, sizeof drained);
    }
    writer.join();
    ::close(idle);
    EXPECT_EQ(raised, "Stopped by signal 15.");
}

}  // namespace
}  // namespace dotwall::testing

// DotwallFrame run as a process, as a script runs it: the frames and streams it writes
// against expectations worked out independently, its usage and its failures.
#include <gtest/gtest.h>

#include <QImage>

#include "common/port_signals.h"
#include "expected_frames.h"
#include "test_files.h"

namespace dotwall::testing {
namespace {

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
    const Bytes stream = readBytes(folder / "lpt_stream.bin");
    EXPECT_EQ(stream, expectedPortStream(frame, 2));

    // The panel shows the frame: in the preview, and as the stream decoder rebuilds it.
    ASSERT_EQ(run({"preview", "lpt_frame.bin", "-o", "look.png"}).status, 0);
    const QImage look = loadPicture(folder / "look.png");
    ASSERT_EQ(look.size(), QSize(640, 241));
    port_signals::StreamDecoder panel;
    for (const std::uint8_t byte : stream) {
        panel.write(byte);
    }
    EXPECT_EQ(panel.frames(), 2);
    EXPECT_EQ(panel.faults().linesOfWrongLength + panel.faults().framesOfWrongLength, 0);
    for (int y = 0; y < 241; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool lit = (frame[160 * y + x / 4] >> (3 - x % 4)) & 1;
            ASSERT_EQ(look.pixel(x, y), lit ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << x << "," << y;
            ASSERT_EQ(panel.lastFrame().lit(x, y), lit) << x << "," << y;
        }
    }
}

TEST_F(FrameTool, PreviewShowsADualScanFrameInTheOrderThePanelReceivesItsLines) {
    const QImage picture = noisePicture(640, 480, kBlackAndWhite);
    auto lit = [&](int x, int y) { return picture.pixel(x, y) == qRgb(255, 255, 255); };
    writeBytes(folder / "screen.bin", expectedUsbFrameFile(lit));
    ASSERT_EQ(run({"preview", "screen.bin", "-o", "look.bmp", "--scale", "2"}).status, 0);
    const QImage look = loadPicture(folder / "look.bmp");
    ASSERT_EQ(look.size(), QSize(1280, 960));
    for (int y = 0; y < 480; ++y) {
        // Line k carries the rows one below it: each half shows one row up, its top row last.
        const int row = 240 * (y / 240) + (y % 240 + 1) % 240;
        for (int x = 0; x < 640; ++x) {
            ASSERT_EQ(look.pixel(2 * x + 1, 2 * y + 1) == qRgb(255, 255, 255), lit(x, row))
                << x << "," << y;
        }
    }
}

TEST_F(FrameTool, WrongUsageExitsTwoAndBadInputExitsOneWithOneLineNamingTheFile) {
    save(QImage(4, 4, QImage::Format_RGB32), "p.png");
    writeBytes(folder / "notes.png", Bytes(64, 'x'));
    writeBytes(folder / "short.bin", Bytes(38401, 0));
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string said;
    } cases[] = {
        {{}, 2, "no command given"},
        {{"draw", "p.png"}, 2, "unknown command \"draw\""},
        {{"usb"}, 2, "usb needs an input file"},
        {{"usb", "p.png", "-o", ""}, 2, "-o needs a file name"},
        {{"usb", "p.png", "--frames", "2"}, 2, "Unknown option 'frames'"},
        {{"stream", "p.png"}, 2, "stream needs --frames N"},
        {{"stream", "p.png", "--frames", "0"},
         2,
         "--frames takes a whole number from 1 to 1000000"},
        {{"preview", "short.bin"}, 2, "preview needs -o PICTURE.png"},
        {{"preview", "short.bin", "-o", "x.png", "--scale", "17"}, 2, "--scale takes"},
        {{"usb", "missing.png"}, 1, "missing.png"},
        {{"lpt", "notes.png"}, 1, "notes.png"},
        {{"preview", "short.bin", "-o", "x.png"}, 1, "holds 38401 bytes, but a frame holds 38402"},
    };
    for (const auto& row : cases) {
        const ProgramRun result = run(row.arguments);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.status, row.status);
        EXPECT_NE(result.err.find(row.said), std::string::npos);
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), row.status == 2 ? 2 : 1);
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3)
        << "nothing was written";
    for (const std::string command : {"", "usb", "lpt", "stream", "preview"}) {
        const ProgramRun help = run(command.empty() ? std::vector<std::string>{"--help"}
                                                    : std::vector<std::string>{command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.starts_with("Usage: DotwallFrame " + command)) << help.out;
    }
}

TEST_F(FrameTool, AFailedWriteLeavesNoFileAndLinksAndPipesAreWrittenThrough) {
    const std::string name = save(noisePicture(64, 64, kBlackAndWhite), "p.png");
    for (const std::string command : {"usb", "lpt", "stream"}) {
        std::vector<std::string> arguments{command, name, "-o", "out.bin"};
        if (command == "stream") {
            arguments.insert(arguments.end(), {"--frames", "3"});
        }
        const ProgramRun full = run(arguments, 10000);
        EXPECT_EQ(full.status, 1) << command;
        EXPECT_NE(full.err.find("out.bin"), std::string::npos) << full.err;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
            << command << " left a file behind";
    }

    ASSERT_EQ(run({"lpt", name}).status, 0);
    const Bytes frame = readBytes(folder / "lpt_frame.bin");
    std::filesystem::create_symlink("lpt_frame.bin", folder / "link.bin");
    ASSERT_EQ(run({"lpt", name, "-o", "link.bin"}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.bin"));
    const ProgramRun piped = run({"lpt", name, "-o", "/dev/stdout"});
    EXPECT_EQ(Bytes(piped.out.begin(), piped.out.end()), frame);
}

}  // namespace
}  // namespace dotwall::testing

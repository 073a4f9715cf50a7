// DotwallFrame as a script sees it: exit statuses, what it prints, and what it leaves on disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "frame_tool_run.h"
#include "temporary_folder.h"

namespace dotwall::testing {
namespace {

using Arguments = std::vector<std::string>;
using Bytes = std::vector<unsigned char>;

constexpr int kDone = 0;
constexpr int kBadInput = 1;
constexpr int kWrongUsage = 2;

std::string joined(const Arguments& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        line += " " + argument;
    }
    return line;
}

long lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

class FrameToolProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::white);
        savePicture(picture, folder / "picture.png");
        std::ofstream(folder / "notes.bmp") << "this is no bitmap";
        writeBytes(folder / "short.bin", Bytes(100, 0x0F));
        // A PNG whose header fails its checksum: libpng prints its own complaint.
        Bytes damaged = readBytes(folder / "picture.png");
        damaged.at(29) ^= 0xFF;
        writeBytes(folder / "damaged.png", damaged);
        inputs = fileNames(folder.path());
    }

    ProgramRun run(const Arguments& arguments, std::optional<rlim_t> fileSizeLimit = {}) {
        return runFrameTool(folder.path(), arguments, fileSizeLimit);
    }

    TemporaryFolder folder;
    std::set<std::string> inputs;
};

TEST_F(FrameToolProcess, HelpOnTheToolAndOnEveryCommandPrintsItsUsageAndExitsZero) {
    for (const Arguments& arguments : std::vector<Arguments>{{"--help"},
                                                             {"usb", "--help"},
                                                             {"lpt", "--help"},
                                                             {"stream", "--help"},
                                                             {"preview", "frame.bin", "-h"}}) {
        const ProgramRun help = run(arguments);
        EXPECT_EQ(help.status, kDone) << joined(arguments);
        const std::string usage =
            "Usage: DotwallFrame" + (arguments.size() == 1 ? "" : " " + arguments[0]);
        EXPECT_EQ(help.out.rfind(usage, 0), 0u) << help.out;
        EXPECT_EQ(help.err, "");
    }
    EXPECT_EQ(fileNames(folder.path()), inputs);
}

TEST_F(FrameToolProcess, WrongUsageExitsTwoSayingWhyAndWritesNothing) {
    for (const Arguments& arguments : std::vector<Arguments>{
             {},
             {"convert", "picture.png"},
             {"usb", "picture.png", "--frames", "3"},
             {"stream", "picture.png"},
             {"preview", "short.bin"},
         }) {
        const ProgramRun wrong = run(arguments);
        EXPECT_EQ(wrong.status, kWrongUsage) << joined(arguments);
        EXPECT_EQ(wrong.out, "");
        EXPECT_EQ(wrong.err.rfind("DotwallFrame: ", 0), 0u) << wrong.err;
        EXPECT_NE(wrong.err.find("--help"), std::string::npos) << wrong.err;
    }
    EXPECT_EQ(fileNames(folder.path()), inputs);
}

TEST_F(FrameToolProcess, BadInputExitsOneWithOneLineNamingTheFileAndTheReason) {
    struct Case {
        Arguments arguments;
        std::string file;
        std::string reason;
    };
    for (const Case& bad : std::vector<Case>{
             {{"usb", "notes.bmp"}, "\"notes.bmp\"", "cannot be loaded"},
             {{"usb", "missing.png", "-o", "frame.bin"}, "\"missing.png\"", "not found"},
             {{"lpt", "notes.bmp"}, "\"notes.bmp\"", "cannot be loaded"},
             {{"usb", "damaged.png"}, "\"damaged.png\"", "CRC error"},
             {{"stream", "missing.png", "--frames", "2"}, "\"missing.png\"", "not found"},
             {{"preview", "short.bin", "-o", "p.png"}, "\"short.bin\"", "holds 100 bytes"},
             {{"preview", "picture.png", "-o", "p.png"}, "\"picture.png\"", "not a panel frame"},
             {{"preview", "missing.bin", "-o", "p.png"}, "\"missing.bin\"", "No such file"},
             {{"preview", "/dev/zero", "-o", "p.png"}, "\"/dev/zero\"", "more than 38560"},
             {{"preview", ".", "-o", "p.png"}, "\".\"", "Is a directory"},
         }) {
        const ProgramRun failed = run(bad.arguments);
        EXPECT_EQ(failed.status, kBadInput) << joined(bad.arguments);
        EXPECT_EQ(lineCount(failed.err), 1) << failed.err;
        EXPECT_NE(failed.err.find(bad.file), std::string::npos) << failed.err;
        EXPECT_NE(failed.err.find(bad.reason), std::string::npos) << failed.err;
        EXPECT_EQ(fileNames(folder.path()), inputs) << joined(bad.arguments);
    }
}

TEST_F(FrameToolProcess, AFailedWriteLeavesNoNewFileBehind) {
    // A frame of noise, so that even its compressed picture is larger than the limit.
    Bytes noise(38402);
    unsigned state = 1;
    for (unsigned char& byte : noise) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(state >> 16);
    }
    writeBytes(folder / "frame.bin", noise);
    inputs.insert("frame.bin");
    // Writes beyond 20000 bytes fail, as on a full disk.
    for (const Arguments& arguments : std::vector<Arguments>{
             {"usb", "picture.png", "-o", "new.bin"},
             {"lpt", "picture.png", "-o", "new.bin"},
             {"stream", "picture.png", "--frames", "2", "-o", "new.bin"},
             {"preview", "frame.bin", "-o", "new.png"},
         }) {
        const ProgramRun failed = run(arguments, 20000);
        EXPECT_EQ(failed.status, kBadInput) << joined(arguments);
        EXPECT_EQ(lineCount(failed.err), 1) << failed.err;
        EXPECT_NE(failed.err.find("new."), std::string::npos) << failed.err;
        EXPECT_EQ(fileNames(folder.path()), inputs) << joined(arguments);
    }
}

TEST_F(FrameToolProcess, UsbWritesIntoAnExistingFileWithoutTruncatingIt) {
    ASSERT_EQ(run({"usb", "picture.png", "-o", "fresh.bin"}).status, kDone);
    const Bytes frame = readBytes(folder / "fresh.bin");
    ASSERT_EQ(frame.size(), 38402u);

    Bytes longer(50000);
    for (std::size_t i = 0; i < longer.size(); ++i) {
        longer[i] = static_cast<unsigned char>(i * 7 + 3);
    }
    writeBytes(folder / "long.bin", longer);
    ASSERT_EQ(run({"usb", "picture.png", "-o", "long.bin"}).status, kDone);
    const Bytes written = readBytes(folder / "long.bin");
    ASSERT_EQ(written.size(), 50000u);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), written.begin()));
    EXPECT_TRUE(std::equal(longer.begin() + 38402, longer.end(), written.begin() + 38402))
        << "bytes 38402 to 49999 stay as they were";

    // A picture that cannot be loaded leaves the existing file alone.
    ASSERT_EQ(run({"usb", "notes.bmp", "-o", "long.bin"}).status, kBadInput);
    EXPECT_EQ(readBytes(folder / "long.bin"), written);
}

TEST_F(FrameToolProcess, WritesThroughALinkAndIntoAPipeInsteadOfReplacingThem) {
    writeBytes(folder / "real.bin", Bytes(10, 1));
    std::filesystem::create_symlink("real.bin", folder / "link.bin");
    ASSERT_EQ(run({"lpt", "picture.png", "-o", "link.bin"}).status, kDone);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.bin"));
    EXPECT_EQ(std::filesystem::file_size(folder / "real.bin"), 38560u);

    // Like /dev/stdout in a pipeline. The frame fits the pipe's buffer, so the tool
    // finishes before the test reads.
    const auto pipe = folder / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(run({"lpt", "picture.png", "-o", "pipe"}).status, kDone);
    Bytes received(40000);
    const ssize_t length = read(reader, received.data(), received.size());
    close(reader);
    EXPECT_EQ(length, 38560);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST_F(FrameToolProcess, TheDefaultOutputsAreWrittenInTheWorkingFolder) {
    ASSERT_EQ(run({"usb", "picture.png"}).status, kDone);
    ASSERT_EQ(run({"lpt", "picture.png"}).status, kDone);
    ASSERT_EQ(run({"stream", "picture.png", "--frames", "1"}).status, kDone);
    EXPECT_EQ(std::filesystem::file_size(folder / "screen.bin"), 38402u);
    EXPECT_EQ(std::filesystem::file_size(folder / "lpt_frame.bin"), 38560u);
    EXPECT_EQ(std::filesystem::file_size(folder / "lpt_stream.bin"), 77363u);
}

}  // namespace
}  // namespace dotwall::testing

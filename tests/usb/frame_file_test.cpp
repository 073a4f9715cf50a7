#include "frame_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "temporary_folder.h"

namespace dotwall::usb_tool {
namespace {

using dotwall::testing::readBytes;
using dotwall::testing::TemporaryFolder;
using dotwall::testing::writeBytes;
using Bytes = std::vector<unsigned char>;

// The frame buffer an all-white conversion leaves: 255 in the frame, 0, then the pre-fill.
FrameBuffer allWhiteFrame() {
    FrameBuffer frame;
    frame.preFill();
    for (int i = 0; i < 38400; ++i) {
        frame.at(i) = 255;
    }
    frame.at(38400) = 0;
    return frame;
}

TEST(FrameFile, BeforeAnyConversionItHolds38402ZeroBytes) {
    TemporaryFolder folder;
    writeFrameFile(FrameBuffer{}, folder / "screen.bin");
    EXPECT_EQ(readBytes(folder / "screen.bin"), Bytes(38402, 0));
}

TEST(FrameFile, AfterAnAllWhiteConversionItHoldsTheFrameThenZeroThenFive) {
    TemporaryFolder folder;
    writeFrameFile(allWhiteFrame(), folder / "screen.bin");
    Bytes expected(38400, 255);
    expected.push_back(0);
    expected.push_back(5);
    EXPECT_EQ(readBytes(folder / "screen.bin"), expected);
    writeFrameFile(allWhiteFrame(), folder / "screen.bin");
    EXPECT_EQ(readBytes(folder / "screen.bin"), expected) << "saving twice gives the same file";
}

TEST(FrameFile, ALongerFileKeepsItsTailAndAShorterOneGrows) {
    TemporaryFolder folder;
    Bytes longer(50000);
    for (std::size_t i = 0; i < longer.size(); ++i) {
        longer[i] = static_cast<unsigned char>(i * 7 + 3);
    }
    writeBytes(folder / "long.bin", longer);
    writeBytes(folder / "short.bin", Bytes(100, 9));

    writeFrameFile(allWhiteFrame(), folder / "long.bin");
    writeFrameFile(allWhiteFrame(), folder / "short.bin");

    const Bytes written = readBytes(folder / "long.bin");
    ASSERT_EQ(written.size(), 50000u);
    EXPECT_EQ(written[38399], 255);
    EXPECT_EQ(written[38401], 5);
    EXPECT_TRUE(std::equal(written.begin() + 38402, written.end(), longer.begin() + 38402));
    EXPECT_EQ(readBytes(folder / "short.bin").size(), 38402u);
}

TEST(FrameFile, AFileThatCannotBeWrittenIsReportedWithItsPathAndReason) {
    TemporaryFolder folder;
    const FrameBuffer frame = allWhiteFrame();
    struct Case {
        std::filesystem::path path;
        std::string reason;
    };
    for (const Case& c : {Case{folder / "missing" / "screen.bin", "No such file or directory"},
                          Case{folder.path(), "Is a directory"}}) {
        try {
            writeFrameFile(frame, c.path);
            FAIL() << c.path << " was accepted";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::FileAccess);
            const std::string message = error.what();
            EXPECT_NE(message.find(c.path.string()), std::string::npos) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
    EXPECT_EQ(frame, allWhiteFrame());
}

TEST(FrameFile, AFullDiskIsReportedNotTakenForSuccess) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    try {
        writeFrameFile(allWhiteFrame(), "/dev/full");
        FAIL() << "writing to a full device was taken for success";
    } catch (const RuntimeError& error) {
        EXPECT_NE(std::string(error.what()).find("No space left on device"), std::string::npos)
            << error.what();
    }
}

}  // namespace
}  // namespace dotwall::usb_tool

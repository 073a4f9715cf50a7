// DotwallUsb's own declarations of the board library, bound to the stand-in built beside
// the tests by its file name.
#include <gtest/gtest.h>

#include "library_binder.h"
#include "runtime_error.h"
#include "usb_tool/module1.h"

namespace dotwall::usb_tool {
namespace {

TEST(BoardLibrary, TheStandInAnswersTheThreeCallsAndWritesEachToStandardError) {
    Module1 board;
    std::uint8_t a = 0, b = 55, c = 56, d = 255;
    ::testing::internal::CaptureStderr();
    const std::int32_t lcd = board.DoLCDOut(1, 2, 3, 250);
    const std::int32_t read = board.DoI2CRead(a, b, c, d);
    const std::int32_t write = board.DoI2CWrite(255);
    const std::string lines = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(lcd, 0);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(write, 0);
    EXPECT_EQ(lines, "DoLCDOut(1, 2, 3, 250)\nDoI2CRead(0, 55, 56, 255)\nDoI2CWrite(255)\n");
    EXPECT_EQ(a, 0);
    EXPECT_EQ(d, 255) << "the stand-in leaves the read bytes as they were";
}

TEST(BoardLibrary, TheStandInHasTheBoardsOtherFunctionsAndAnswersThemWithMinusOne) {
    OutsideLibrary library(kBoardLibraryFileName);
    for (const char* name : Module1::kUncalledFunctions) {
        BoundFunction<std::int32_t()> function(library, name);
        EXPECT_EQ(function(), -1) << name;
    }
}

TEST(BoardLibrary, AMissingLibraryIsAnErrorNamingItAndTheFunction) {
    Module1 board("libNoSuchBoard.so");
    try {
        board.DoI2CWrite(1);
        FAIL() << "a missing library was taken for a board";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::LibraryNotFound);
        const std::string message = error.what();
        EXPECT_NE(message.find("libNoSuchBoard.so"), std::string::npos) << message;
        EXPECT_NE(message.find("DoI2CWrite"), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace dotwall::usb_tool

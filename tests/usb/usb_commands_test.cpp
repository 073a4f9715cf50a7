#include "usb_commands.h"

#include <gtest/gtest.h>

#include <limits>

#include "fake_text_box.h"
#include "recording_board.h"

namespace dotwall::usb_tool {
namespace {

using dotwall::testing::FakeTextBox;
using dotwall::testing::RecordingBoard;

TEST(UsbRun, SendsElementsOneToAHundredFourPerCallInOrder) {
    FrameBuffer frame;
    for (int i = 0; i <= 101; ++i) {
        frame.at(i) = static_cast<std::uint8_t>(i);
    }
    RecordingBoard board;
    FakeTextBox result("Text10");
    sendFrameStart(frame, board, result);
    ASSERT_EQ(board.calls.size(), 25u);
    EXPECT_EQ(board.calls.front(), "DoLCDOut(1, 2, 3, 4)") << "element 0 is not sent";
    EXPECT_EQ(board.calls[1], "DoLCDOut(5, 6, 7, 8)");
    EXPECT_EQ(board.calls.back(), "DoLCDOut(97, 98, 99, 100)");
}

TEST(UsbRun, BeforeAnyConversionEveryCallCarriesZeros) {
    RecordingBoard board;
    FakeTextBox result("Text10");
    sendFrameStart(FrameBuffer{}, board, result);
    EXPECT_EQ(board.calls, std::vector<std::string>(25, "DoLCDOut(0, 0, 0, 0)"));
    EXPECT_EQ(result.text(), "0");
}

TEST(UsbRun, TheResultBoxShowsEveryResultAndEndsWithTheLast) {
    for (std::int32_t last : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        RecordingBoard board;
        board.results.assign(24, 7);
        board.results.push_back(last);
        FakeTextBox result("Text10");
        sendFrameStart(FrameBuffer{}, board, result);
        EXPECT_EQ(result.updates(), 25);
        EXPECT_EQ(result.text(), std::to_string(last));
    }
}

class I2c : public ::testing::Test {
  protected:
    FakeTextBox Text5{"0"}, Text6{"0"}, Text7{"55"}, Text8{"55"}, Text9{"55"};
    FakeTextBox Text10{"Text10"};
    RecordingBoard board;

    void read() { readI2c({Text5, Text7, Text8, Text9}, board, Text10); }
};

TEST_F(I2c, ReadPassesTheBoxesInParameterOrderAndDropsWhatComesBack) {
    Text5.setText("1");
    Text9.setText(" 4 ");
    board.results = {-2};
    read();
    EXPECT_EQ(board.calls, std::vector<std::string>{"DoI2CRead(1, 55, 55, 4)"});
    EXPECT_EQ(Text10.text(), "-2");
    EXPECT_EQ(Text5.text(), "1") << "the 9s the board wrote back are dropped";
    EXPECT_EQ(Text9.text(), " 4 ");
}

TEST_F(I2c, ReadWithTheInitialTextsPassesZeroAndThreeTimesFiftyFive) {
    read();
    EXPECT_EQ(board.calls, std::vector<std::string>{"DoI2CRead(0, 55, 55, 55)"});
    EXPECT_EQ(Text10.text(), "0");
}

TEST_F(I2c, ReadReportsTheLastBoxFirstAndNeverCallsTheBoardWithABadOperand) {
    Text5.setText("abc");
    Text8.setText("300");
    try {
        read();
        FAIL() << "bad operands were accepted";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Overflow) << "Text8 is converted before Text5";
        EXPECT_NE(std::string(error.what()).find("\"300\""), std::string::npos) << error.what();
    }
    Text8.setText("55");
    try {
        read();
        FAIL() << "a bad operand was accepted";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::TypeMismatch);
        EXPECT_NE(std::string(error.what()).find("\"abc\""), std::string::npos) << error.what();
    }
    EXPECT_TRUE(board.calls.empty());
    EXPECT_EQ(Text10.text(), "Text10");
}

TEST_F(I2c, WritePassesItsByteOrRefusesATextThatIsNoByte) {
    Text6.setText("255");
    board.results = {std::numeric_limits<std::int32_t>::min()};
    writeI2c(Text6, board, Text10);
    EXPECT_EQ(board.calls, std::vector<std::string>{"DoI2CWrite(255)"});
    EXPECT_EQ(Text10.text(), "-2147483648");

    Text6.setText("256");
    EXPECT_THROW(writeI2c(Text6, board, Text10), RuntimeError);
    Text6.setText("");
    try {
        writeI2c(Text6, board, Text10);
        FAIL() << "an empty text was accepted";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::TypeMismatch);
    }
    EXPECT_EQ(board.calls.size(), 1u);
    EXPECT_EQ(Text10.text(), "-2147483648");
}

}  // namespace
}  // namespace dotwall::usb_tool

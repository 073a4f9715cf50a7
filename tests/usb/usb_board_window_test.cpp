#include <gtest/gtest.h>

#include <QLineEdit>

#include "recording_board.h"
#include "usb_window_fixture.h"

namespace dotwall::usb_tool {
namespace {

class UsbBoardWindow : public dotwall::testing::UsbWindowTest {
  protected:
    void SetUp() override {
        services.board = &board;
        UsbWindowTest::SetUp();
    }
    QLineEdit* box(const char* name) { return control<QLineEdit>(name); }

    dotwall::testing::RecordingBoard board;
};

TEST_F(UsbBoardWindow, UsbSendsTheConvertedLineZeroAndShowsTheLastResult) {
    click("Command1");
    board.results.assign(24, 0);
    board.results.push_back(-1);
    click("Command2");
    ASSERT_EQ(board.calls.size(), 25u);
    const FrameBuffer& frame = window->frameBuffer();
    for (int call = 0; call < 25; ++call) {
        const int first = 1 + 4 * call;
        EXPECT_EQ(board.calls[static_cast<std::size_t>(call)],
                  "DoLCDOut(" + std::to_string(frame.at(first)) + ", " +
                      std::to_string(frame.at(first + 1)) + ", " +
                      std::to_string(frame.at(first + 2)) + ", " +
                      std::to_string(frame.at(first + 3)) + ")");
    }
    EXPECT_EQ(box("Text10")->text(), "-1");
}

TEST_F(UsbBoardWindow, I2cButtonsPassTheBoxesAndShowTheResult) {
    board.results = {3, 4};
    click("Command4");
    EXPECT_EQ(box("Text10")->text(), "3");
    box("Text6")->setText("&HFF");
    click("Command5");
    EXPECT_EQ(box("Text10")->text(), "4");
    EXPECT_EQ(board.calls,
              (std::vector<std::string>{"DoI2CRead(0, 55, 55, 55)", "DoI2CWrite(255)"}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(UsbBoardWindow, ABadOperandIsReportedAndNothingIsSent) {
    box("Text5")->setText("12x");
    box("Text9")->setText("256");
    click("Command4");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Dotwall");
    EXPECT_NE(messages.messages[0].text.find("\"256\""), std::string::npos)
        << "Text9 is read first: " << messages.messages[0].text;
    EXPECT_TRUE(board.calls.empty());
    EXPECT_EQ(box("Text10")->text(), "Text10");
    EXPECT_EQ(box("Text5")->text(), "12x");
}

}  // namespace
}  // namespace dotwall::usb_tool

#include "usb_commands.h"

#include <cstdint>
#include <string>

#include "decimal_text.h"
#include "numeric_text.h"

namespace dotwall::usb_tool {

namespace {

constexpr int kFirstSentElement = 1;
constexpr int kLastSentElement = 100;

}  // namespace

void sendFrameStart(const FrameBuffer& frame, UsbIoInterface& board, TextBox& resultBox) {
    for (int i = kFirstSentElement; i <= kLastSentElement; i += 4) {
        const std::int32_t result =
            board.DoLCDOut(frame.at(i), frame.at(i + 1), frame.at(i + 2), frame.at(i + 3));
        resultBox.setText(decimalText(result));
    }
}

void readI2c(const I2cReadOperands& operands, UsbIoInterface& board, TextBox& resultBox) {
    const std::string text5 = operands.Text5.text();
    const std::string text7 = operands.Text7.text();
    const std::string text8 = operands.Text8.text();
    const std::string text9 = operands.Text9.text();
    std::uint8_t fourth = toByte(text9);
    std::uint8_t third = toByte(text8);
    std::uint8_t second = toByte(text7);
    std::uint8_t first = toByte(text5);
    resultBox.setText(decimalText(board.DoI2CRead(first, second, third, fourth)));
}

void writeI2c(const TextBox& operand, UsbIoInterface& board, TextBox& resultBox) {
    const std::uint8_t value = toByte(operand.text());
    resultBox.setText(decimalText(board.DoI2CWrite(value)));
}

}  // namespace dotwall::usb_tool

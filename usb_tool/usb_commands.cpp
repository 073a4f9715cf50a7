#include "usb_tool/usb_commands.h"

#include "base/numeric_text.h"

namespace dotwall::usb_tool {

namespace {

constexpr int kFirstSentElement = 1;
constexpr int kLastSentElement = 100;

}  // namespace

std::int32_t sendFrameStart(const FrameBuffer& frame, UsbIoInterface& board) {
    std::int32_t result = 0;
    for (int i = kFirstSentElement; i <= kLastSentElement; i += 4) {
        result = board.DoLCDOut(frame.at(i), frame.at(i + 1), frame.at(i + 2), frame.at(i + 3));
    }
    return result;
}

std::int32_t readI2c(const I2cReadOperands& operands, UsbIoInterface& board) {
    std::uint8_t fourth = toByte(operands.fourth);
    std::uint8_t third = toByte(operands.third);
    std::uint8_t second = toByte(operands.second);
    std::uint8_t first = toByte(operands.first);
    return board.DoI2CRead(first, second, third, fourth);
}

std::int32_t writeI2c(const std::string& value, UsbIoInterface& board) {
    return board.DoI2CWrite(toByte(value));
}

}  // namespace dotwall::usb_tool

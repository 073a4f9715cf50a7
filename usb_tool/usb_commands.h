#pragma once

#include <cstdint>
#include <string>

#include "frames/frame_buffer.h"
#include "usb_tool/usb_io_interface.h"

namespace dotwall::usb_tool {

// USB: sends frame buffer elements 1 to 100, four per DoLCDOut call (1..4, 5..8, ...,
// 97..100). Returns the last call's result, which the result box ends up showing.
std::int32_t sendFrameStart(const FrameBuffer& frame, UsbIoInterface& board);

// The texts of the four I2C read operand boxes, in the library's parameter order.
struct I2cReadOperands {
    std::string first;
    std::string second;
    std::string third;
    std::string fourth;
};

// I2C read: the texts are converted to bytes last operand first (fourth, third, second, first);
// the first that is not a byte stops the command before the library is called. What the
// library writes back into the bytes is dropped. Returns the library's result.
std::int32_t readI2c(const I2cReadOperands& operands, UsbIoInterface& board);

// I2CWrite: converts the operand text to a byte and writes it; returns the library's result.
std::int32_t writeI2c(const std::string& value, UsbIoInterface& board);

}  // namespace dotwall::usb_tool

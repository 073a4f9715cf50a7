#pragma once

#include "frame_buffer.h"
#include "text_box.h"
#include "usb_io_interface.h"

namespace dotwall::usb_tool {

// USB: sends frame buffer elements 1 to 100, four per DoLCDOut call (1..4, 5..8, ...,
// 97..100); the result box shows each call's result, so it ends with the last one.
void sendFrameStart(const FrameBuffer& frame, UsbIoInterface& board, TextBox& resultBox);

// The four operand boxes of an I2C read, in the library's parameter order.
struct I2cReadOperands {
    const TextBox& Text5;
    const TextBox& Text7;
    const TextBox& Text8;
    const TextBox& Text9;
};

// I2C read: the operands are converted to bytes last box first (Text9, Text8, Text7,
// Text5); the first that is not a byte stops the command before the library is called.
// What the library writes back into the bytes is dropped; the boxes keep their texts.
void readI2c(const I2cReadOperands& operands, UsbIoInterface& board, TextBox& resultBox);

// I2CWrite: converts the operand box to a byte and writes it.
void writeI2c(const TextBox& operand, UsbIoInterface& board, TextBox& resultBox);

}  // namespace dotwall::usb_tool

#pragma once

#include <cstdint>
#include <string_view>

namespace dotwall {

// Numbers typed into text boxes, read the way the panel tools have always read them:
// - blanks (spaces, tabs) around the number are allowed, none inside it;
// - a decimal number with an optional sign, fraction and exponent ("12", "-3", "2.5",
//   "1e2"), rounded half to even to a whole number ("2.5" gives 2, "3.5" gives 4); the
//   rounding works on the decimal digits themselves, so no binary fraction blurs a tie;
// - "&H" hexadecimal or "&O" octal, prefix and digits in either case. A value up to
//   &HFFFF is a signed 16-bit number and one up to &HFFFFFFFF a signed 32-bit number, so
//   "&HFFFF" is -1 and "&H378" is 888;
// An empty text, or one that is not a number, is a RuntimeError TypeMismatch; a number
// outside the target's range after rounding is a RuntimeError Overflow. Both messages
// quote the text.

// 0 to 255.
std::uint8_t toByte(std::string_view text);

// -32768 to 32767.
std::int16_t toInt16(std::string_view text);

}  // namespace dotwall

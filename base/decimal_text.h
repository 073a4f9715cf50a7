#pragma once

#include <cstdint>
#include <string>

namespace dotwall {

// The plain decimal text shown in a text box: a leading minus for negatives, no leading
// zeros or blanks, e.g. "-2147483648", "0", "320".
std::string decimalText(std::int64_t value);

// The signed-number form of the conversion dump: a blank in the place of the sign for a
// value that is not negative, e.g. " 5", " 12", "-3".
std::string signedNumberText(std::int64_t value);

// The largest whole number not above a floating-point value, as decimal text. The value
// must be finite (callers test for floating-point faults first).
std::string floorDecimalText(double value);

}  // namespace dotwall

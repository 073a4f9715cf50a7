#include "base/decimal_text.h"

#include <cmath>
#include <cstdio>

namespace dotwall {

std::string decimalText(std::int64_t value) {
    return std::to_string(value);
}

std::string signedNumberText(std::int64_t value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string floorDecimalText(double value) {
    const double whole = std::floor(value);
    // Within the range of a 64-bit integer the digits are exact; beyond it (a mouse
    // position never gets there) print the double's own whole-number digits.
    if (whole >= -9.2e18 && whole <= 9.2e18) {
        return decimalText(static_cast<std::int64_t>(whole));
    }
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.0f", whole);
    return digits;
}

}  // namespace dotwall

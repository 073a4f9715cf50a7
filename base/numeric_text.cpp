#include "base/numeric_text.h"

#include <algorithm>
#include <optional>
#include <string>

#include "base/runtime_error.h"

namespace dotwall {

namespace {

// Whole numbers beyond every target range are held as this magnitude, so a text with a
// thousand digits or an exponent of a million is an overflow, not a wrapped value.
constexpr std::int64_t kBeyondEveryRange = std::int64_t{1} << 40;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c) {
    if (isDecimalDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string_view withoutBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// "&H..." or "&O...": the digits as an unsigned value, then read as a signed 16-bit
// number when it fits 16 bits, else as a signed 32-bit number.
std::optional<std::int64_t> prefixedValue(std::string_view number) {
    const char prefix = number[1];
    const int radix = (prefix == 'H' || prefix == 'h')   ? 16
                      : (prefix == 'O' || prefix == 'o') ? 8
                                                         : 0;
    const std::string_view digits = number.substr(2);
    if (radix == 0 || digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c);
        if (digit < 0 || digit >= radix) {
            return std::nullopt;
        }
        value = std::min<std::uint64_t>(value * radix + static_cast<std::uint64_t>(digit),
                                        kBeyondEveryRange);
    }
    if (value <= 0xFFFF) {
        return static_cast<std::int16_t>(value);
    }
    if (value <= 0xFFFFFFFF) {
        return static_cast<std::int32_t>(value);
    }
    return kBeyondEveryRange;
}

// Reads a run of decimal digits from the front of text.
std::string_view takeDigits(std::string_view& text) {
    std::size_t length = 0;
    while (length < text.size() && isDecimalDigit(text[length])) {
        ++length;
    }
    const std::string_view digits = text.substr(0, length);
    text.remove_prefix(length);
    return digits;
}

bool takeSign(std::string_view& text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    return negative;
}

// A decimal number as written: sign, the digits before and after the point, exponent.
struct DecimalNumber {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
    std::int64_t exponent = 0;
};

// [+-] digits [. digits] [e [+-] digits], with digits on at least one side of the point.
std::optional<DecimalNumber> parseDecimal(std::string_view text) {
    DecimalNumber number;
    number.negative = takeSign(text);
    number.whole = takeDigits(text);
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        number.fraction = takeDigits(text);
    }
    if (number.whole.empty() && number.fraction.empty()) {
        return std::nullopt;
    }
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        text.remove_prefix(1);
        const bool negativeExponent = takeSign(text);
        const std::string_view digits = takeDigits(text);
        if (digits.empty()) {
            return std::nullopt;
        }
        for (const char c : digits) {
            number.exponent =
                std::min<std::int64_t>(number.exponent * 10 + (c - '0'), kBeyondEveryRange);
        }
        number.exponent = negativeExponent ? -number.exponent : number.exponent;
    }
    if (!text.empty()) {
        return std::nullopt;
    }
    return number;
}

// Rounds half to even on the decimal digits. They are read as one run with the point at
// pointIndex (moved by the exponent): the run before the point is the whole part, the digit
// after it decides the rounding, and any later non-zero digit breaks a tie upwards.
std::int64_t roundedWhole(const DecimalNumber& number) {
    const auto digitCount = static_cast<std::int64_t>(number.whole.size() + number.fraction.size());
    const auto digitAt = [&](std::int64_t index) -> int {
        if (index < 0 || index >= digitCount) {
            return 0;
        }
        const auto i = static_cast<std::size_t>(index);
        const auto& whole = number.whole;
        return (i < whole.size() ? whole[i] : number.fraction[i - whole.size()]) - '0';
    };
    const std::int64_t pointIndex =
        static_cast<std::int64_t>(number.whole.size()) + number.exponent;

    std::int64_t magnitude = 0;
    // Past the written digits only zeros follow: a zero stays zero, anything else soon
    // reaches kBeyondEveryRange.
    for (std::int64_t i = 0;
         i < pointIndex && !(i >= digitCount && magnitude == 0) && magnitude < kBeyondEveryRange;
         ++i) {
        magnitude = std::min(magnitude * 10 + digitAt(i), kBeyondEveryRange);
    }
    const int roundingDigit = digitAt(pointIndex);
    bool laterDigitNonZero = false;
    for (std::int64_t i = std::max<std::int64_t>(pointIndex + 1, 0); i < digitCount; ++i) {
        laterDigitNonZero = laterDigitNonZero || digitAt(i) != 0;
    }
    if (roundingDigit > 5 || (roundingDigit == 5 && (laterDigitNonZero || magnitude % 2 == 1))) {
        ++magnitude;
    }
    return number.negative ? -magnitude : magnitude;
}

std::optional<std::int64_t> decimalValue(std::string_view text) {
    const std::optional<DecimalNumber> number = parseDecimal(text);
    if (!number) {
        return std::nullopt;
    }
    return roundedWhole(*number);
}

std::int64_t wholeNumber(std::string_view text) {
    const std::string_view number = withoutBlanks(text);
    const std::optional<std::int64_t> value =
        number.size() >= 2 && number.front() == '&' ? prefixedValue(number) : decimalValue(number);
    if (!value) {
        throw RuntimeError(ErrorKind::TypeMismatch,
                           "The text \"" + std::string(text) + "\" is not a number.");
    }
    return *value;
}

template <typename Integer>
Integer toInteger(std::string_view text, std::int64_t lowest, std::int64_t highest) {
    const std::int64_t value = wholeNumber(text);
    if (value < lowest || value > highest) {
        throw RuntimeError(ErrorKind::Overflow,
                           "The text \"" + std::string(text) + "\" holds a number outside " +
                               std::to_string(lowest) + " to " + std::to_string(highest) + ".");
    }
    return static_cast<Integer>(value);
}

}  // namespace

std::uint8_t toByte(std::string_view text) {
    return toInteger<std::uint8_t>(text, 0, 255);
}

std::int16_t toInt16(std::string_view text) {
    return toInteger<std::int16_t>(text, -32768, 32767);
}

}  // namespace dotwall

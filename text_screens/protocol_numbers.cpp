#include "text_screens/protocol_numbers.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace dotwall::text_screens {

int leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\f' || text[i] == '\v')) {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{INT_MAX} + 1);
    }
    return static_cast<int>(std::clamp<std::int64_t>(negative ? -value : value, INT_MIN, INT_MAX));
}

bool beginsWithDigit(std::string_view text) {
    return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

int cellNumber(std::string_view text) {
    constexpr int kFar = 1 << 20;
    return std::clamp(leadingNumber(text), -kFar, kFar);
}

}  // namespace dotwall::text_screens

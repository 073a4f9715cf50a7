#include "base/whole_number.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include "base/runtime_error.h"

namespace dotwall {

std::optional<long> wholeNumber(std::string_view text, long lowest, long highest) {
    long number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end || number < lowest ||
        number > highest) {
        return std::nullopt;
    }
    return number;
}

std::optional<long> wholeNumberSetting(const char* name, long lowest, long highest,
                                       std::string_view unit) {
    const char* text = std::getenv(name);
    if (text == nullptr) {
        return std::nullopt;
    }
    const std::optional<long> number = wholeNumber(text, lowest, highest);
    if (!number) {
        throw RuntimeError(ErrorKind::InvalidSetting,
                           std::string(name) + "=\"" + text + "\" is no whole number from " +
                               std::to_string(lowest) + " to " + std::to_string(highest) +
                               std::string(unit) + ".");
    }
    return number;
}

}  // namespace dotwall

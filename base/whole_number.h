#pragma once

#include <optional>
#include <string_view>

namespace dotwall {

// The one rule for numbers given on a command line or in an environment variable: decimal
// digits with an optional minus and nothing else (no blanks, no plus, no fraction), from
// `lowest` to `highest`. nullopt for any other text.
std::optional<long> wholeNumber(std::string_view text, long lowest, long highest);

// The environment variable `name` read by that rule; nullopt when it is not set. Any other
// value raises InvalidSetting: "NAME="value" is no whole number from LOWEST to HIGHEST<unit>."
std::optional<long> wholeNumberSetting(const char* name, long lowest, long highest,
                                       std::string_view unit = "");

}  // namespace dotwall

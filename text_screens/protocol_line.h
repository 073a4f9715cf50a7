#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dotwall::text_screens {

// A protocol line split into its arguments as LCDd splits it: blanks (spaces, tabs, carriage
// returns) separate them; "..." or {...} hold blanks, may begin inside an argument and end it;
// a backslash takes the next character as it is, except \n, \r and \t, which stand for those
// characters. nullopt when a quote or brace is left open.
std::optional<std::vector<std::string>> splitArguments(std::string_view line);

}  // namespace dotwall::text_screens

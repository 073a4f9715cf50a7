#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

namespace dotwall::text_screens {

// A protocol word's meaning, looked up in a table of words and what they name; nullopt for a
// word the table lacks. `same` compares the table's word with the client's.
template <typename Value, std::size_t Count, typename Same = std::equal_to<>>
std::optional<Value> valueNamed(const std::array<std::pair<std::string_view, Value>, Count>& table,
                                std::string_view word, Same same = {}) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const auto& entry) { return same(entry.first, word); });
    if (found == table.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace dotwall::text_screens

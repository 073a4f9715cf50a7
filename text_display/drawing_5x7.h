#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "text_display/text_canvas.h"

namespace dotwall::text_display {

// A symbol drawn on 5 x 7 dots, the look of a character LCD's glyph: seven rows from the top,
// the leftmost dot in bit 4 of each row. Every cell size draws these, scaled (glyph_box.h).
struct Drawing5x7 {
    std::array<std::uint8_t, 7> rows{};

    bool dot(int column, int row) const { return (rows[row] >> (4 - column)) & 1; }
    friend bool operator==(const Drawing5x7&, const Drawing5x7&) = default;
};

// Reads a drawing from seven groups of five dots, '#' ink and '.' paper, a space between the
// groups; anything else does not compile where it is evaluated at compile time.
consteval Drawing5x7 drawn(std::string_view art) {
    if (art.size() != 7 * 6 - 1)
        throw "a drawing is seven groups of five dots";
    Drawing5x7 drawing;
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
            const char dot = art[row * 6 + column];
            if (dot != '#' && dot != '.')
                throw "a dot is '#' or '.'";
            drawing.rows[row] |= (dot == '#') << (4 - column);
        }
        if (row < 6 && art[row * 6 + 5] != ' ')
            throw "groups are parted by one space";
    }
    return drawing;
}

// The glyph of a Latin-1 character, none for the control codes (0 to 31 and 127 to 159).
std::optional<Drawing5x7> glyph5x7(unsigned char latin1);

// What a character without a glyph shows: an empty frame around the whole glyph area, unlike
// any glyph or icon.
inline constexpr Drawing5x7 kPlaceholder5x7 = drawn("##### #...# #...# #...# #...# #...# #####");

Drawing5x7 icon5x7(Icon icon);

}  // namespace dotwall::text_display

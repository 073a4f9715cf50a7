#include "text_display/glyph_box.h"

#include <algorithm>
#include <array>

namespace dotwall::text_display {
namespace {

struct OfferedCell {
    CellSize cell;
    GlyphBox box;
};

// 6 x 8 first: a character LCD's look, one column and one row apart, 106 x 30 characters on
// a 640 x 240 panel. The others draw the same dots wider apart, taller or doubled.
constexpr std::array<OfferedCell, 4> kOffered{{
    {{6, 8}, {0, 0, 1, 1}},
    {{8, 8}, {1, 0, 1, 1}},
    {{8, 16}, {1, 1, 1, 2}},
    {{12, 16}, {1, 1, 2, 2}},
}};

constexpr std::array<CellSize, kOffered.size()> kOfferedSizes = [] {
    std::array<CellSize, kOffered.size()> sizes;
    std::ranges::transform(kOffered, sizes.begin(), &OfferedCell::cell);
    return sizes;
}();

}  // namespace

std::span<const CellSize> offeredCellSizes() {
    return kOfferedSizes;
}

std::optional<GlyphBox> glyphBox(CellSize cell) {
    const auto offered = std::ranges::find(kOffered, cell, &OfferedCell::cell);
    if (offered == kOffered.end())
        return std::nullopt;
    return offered->box;
}

}  // namespace dotwall::text_display

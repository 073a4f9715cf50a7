#pragma once

#include <optional>

namespace dotwall::text_display {

struct CellSize;

// Where a 5 x 7 drawing sits in a cell of one offered size, each dot a block of scaleX x
// scaleY pixels from the cell's pixel left, top; the rest of the cell is the spacing that
// keeps neighbouring characters and lines apart.
struct GlyphBox {
    int left = 0;
    int top = 0;
    int scaleX = 1;
    int scaleY = 1;

    int width() const { return 5 * scaleX; }
    int height() const { return 7 * scaleY; }
};

// The box of an offered cell size; none for a size not offered.
std::optional<GlyphBox> glyphBox(CellSize cell);

}  // namespace dotwall::text_display

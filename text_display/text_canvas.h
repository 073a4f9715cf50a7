#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "text_display/glyph_box.h"

namespace dotwall::text_display {

// A character cell in pixels.
struct CellSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const CellSize&, const CellSize&) = default;
};

// The cell sizes a text screen can be drawn in, the first the default: 6 x 8, 8 x 8, 8 x 16,
// 12 x 16. Each shows the same 5 x 7 glyphs (16 rows tall: each dot two pixels high; 12 x 16:
// two by two), the rest of the cell the space between characters and lines.
std::span<const CellSize> offeredCellSizes();

// The symbols a text screen can show in one cell, as the line protocol names them.
enum class Icon {
    BlockFilled,
    HeartOpen,
    HeartFilled,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    CheckboxOff,
    CheckboxOn,
    CheckboxGray,
    SelectorAtLeft,
    SelectorAtRight,
    Ellipsis,
    Stop,
    Pause,
    Play,
    PlayReverse,
    FastForward,
    FastReverse,
    Next,
    Previous,
    Record,
};

enum class CursorStyle { Off, Block, Underline };

// A panel's pixels as a grid of character cells, drawn one bit per pixel (ink or paper, no
// smoothing) from bitmap glyphs. Cells are counted from 1 at the top-left; anything that
// falls outside the grid is clipped, never wrapped. The grid takes the panel's whole cells;
// the pixels right of and below them stay paper.
class TextCanvas {
  public:
    // Raises a RuntimeError (WrongUsage) naming the cell when it is not offered or larger than
    // the panel.
    TextCanvas(int panelWidth, int panelHeight, CellSize cell);

    int columns() const;
    int rows() const;
    CellSize cell() const;

    void clear();
    // Characters from column x on, Latin-1 (one byte a character, as the protocol's clients
    // send them); a character the font lacks (a control code) shows a visible placeholder, an
    // empty frame. Each character, like an icon, replaces its whole cell.
    void string(int x, int y, std::string_view latin1);
    void character(int x, int y, unsigned char latin1);
    // A bar of `lengthCells` cells from cell x, y, filled promille / 1000 of its pixels: to
    // the right, or upwards from the bottom of cell x, y. It lights
    // round(promille * lengthCells * cell side / 1000) pixel columns (rows), halves rounded
    // up, promille taken as 0 to 1000: a bar of L pixels out of N is exact for
    // promille = round(1000 * L / N) up to N = 1000, and for LCDd's integer part,
    // 1000 * L / N, up to N = 500. A horizontal bar is as tall as the glyphs, a vertical one as
    // wide; each cell it lights is cleared first, the cells it does not reach are left alone.
    void horizontalBar(int x, int y, int lengthCells, int promille);
    void verticalBar(int x, int y, int lengthCells, int promille);
    void icon(int x, int y, Icon icon);
    // A big digit 0 to 9 (3 cells wide, 4 high), or 10 a colon (1 cell wide), from column x
    // on rows 1 to 4, also when there are more rows, as LCDd places them; its cells are
    // cleared and the digit's dots drawn as bold blocks across them. Other digits draw nothing.
    void bigNumber(int x, int digit);
    // Block: the glyph area of cell x, y inverted; underline: the row below it lit.
    void cursor(int x, int y, CursorStyle style);

    // The pixels, row by row from the top-left, panelWidth x panelHeight: 1 ink, 0 paper.
    const std::vector<std::uint8_t>& ink() const;

  private:
    // Pixels of the rectangle set to `value`, clipped to the grid.
    void fill(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
              std::uint8_t value);
    // The cell's pixels replaced by one of cellImages_; nothing outside the grid.
    void putCell(std::int64_t x, std::int64_t y, std::size_t image);
    bool inGrid(std::int64_t x, std::int64_t y) const;

    int panelWidth_;
    int panelHeight_;
    CellSize cell_;
    GlyphBox box_;
    int columns_;
    int rows_;
    // Each character's cell, then each icon's, cell width x height pixels each.
    std::vector<std::uint8_t> cellImages_;
    std::vector<std::uint8_t> ink_;
};

}  // namespace dotwall::text_display

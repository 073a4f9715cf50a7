#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace dotwall::text_display {

// A character cell in pixels.
struct CellSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const CellSize&, const CellSize&) = default;
};

// The cell sizes a text screen can be drawn in, the first the default.
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
    // Raises a RuntimeError naming the cell when it is not offered or larger than the panel.
    TextCanvas(int panelWidth, int panelHeight, CellSize cell);

    int columns() const;
    int rows() const;
    CellSize cell() const;

    void clear();
    // Characters from column x on, Latin-1 (one byte a character, as the protocol's clients
    // send them); a character the font lacks shows a visible placeholder.
    void string(int x, int y, std::string_view latin1);
    void character(int x, int y, unsigned char latin1);
    // A bar of `lengthCells` cells from cell x, y, filled promille / 1000 of its pixels: to
    // the right, or upwards from the bottom of cell x, y.
    void horizontalBar(int x, int y, int lengthCells, int promille);
    void verticalBar(int x, int y, int lengthCells, int promille);
    void icon(int x, int y, Icon icon);
    // A big digit 0 to 9 (3 cells wide, 4 high), or 10 a colon (1 cell wide), from column x
    // on rows 1 to 4 (centred when there are more rows).
    void bigNumber(int x, int digit);
    void cursor(int x, int y, CursorStyle style);

    // The pixels, row by row from the top-left, panelWidth x panelHeight: 1 ink, 0 paper.
    const std::vector<std::uint8_t>& ink() const;

  private:
    int panelWidth_;
    int panelHeight_;
    CellSize cell_;
    std::vector<std::uint8_t> ink_;
};

}  // namespace dotwall::text_display

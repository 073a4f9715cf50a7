#include "text_display/text_canvas.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/runtime_error.h"
#include "text_display/drawing_5x7.h"

namespace dotwall::text_display {
namespace {

constexpr std::size_t kCharacterImages = 256;
constexpr std::size_t kIconImages = static_cast<std::size_t>(Icon::Record) + 1;

std::string cellName(CellSize cell) {
    return std::to_string(cell.width) + "x" + std::to_string(cell.height);
}

GlyphBox offeredBox(int panelWidth, int panelHeight, CellSize cell) {
    const auto box = glyphBox(cell);
    if (!box) {
        std::string offered;
        for (const CellSize size : offeredCellSizes())
            offered += (offered.empty() ? "" : ", ") + cellName(size);
        throw RuntimeError(ErrorKind::WrongUsage, "the cell " + cellName(cell) +
                                                      " is not offered (offered: " + offered + ")");
    }
    if (cell.width > panelWidth || cell.height > panelHeight)
        throw RuntimeError(ErrorKind::WrongUsage, "the cell " + cellName(cell) +
                                                      " is larger than the " +
                                                      std::to_string(panelWidth) + " x " +
                                                      std::to_string(panelHeight) + " panel");
    return *box;
}

// Calls dot(column, row) for each ink dot of the drawing.
template <typename DotFunction>
void forEachDot(const Drawing5x7& drawing, DotFunction dot) {
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column)
            if (drawing.dot(column, row))
                dot(column, row);
}

// Every character's and icon's cell drawn once, so that drawing one is a copy of its rows.
std::vector<std::uint8_t> drawCellImages(CellSize cell, GlyphBox box) {
    const std::size_t imageSize = static_cast<std::size_t>(cell.width) * cell.height;
    std::vector<std::uint8_t> images((kCharacterImages + kIconImages) * imageSize, 0);
    const auto draw = [&](std::size_t image, const Drawing5x7& drawing) {
        std::uint8_t* const pixels = images.data() + image * imageSize;
        forEachDot(drawing, [&](int column, int row) {
            for (int y = 0; y < box.scaleY; ++y)
                std::fill_n(pixels + (box.top + row * box.scaleY + y) * cell.width + box.left +
                                column * box.scaleX,
                            box.scaleX, 1);
        });
    };
    for (std::size_t code = 0; code < kCharacterImages; ++code)
        draw(code, glyph5x7(static_cast<unsigned char>(code)).value_or(kPlaceholder5x7));
    for (std::size_t icon = 0; icon < kIconImages; ++icon)
        draw(kCharacterImages + icon, icon5x7(static_cast<Icon>(icon)));
    return images;
}

}  // namespace

TextCanvas::TextCanvas(int panelWidth, int panelHeight, CellSize cell)
    : panelWidth_(panelWidth),
      panelHeight_(panelHeight),
      cell_(cell),
      box_(offeredBox(panelWidth, panelHeight, cell)),
      columns_(panelWidth / cell.width),
      rows_(panelHeight / cell.height),
      cellImages_(drawCellImages(cell, box_)),
      ink_(static_cast<std::size_t>(panelWidth) * panelHeight, 0) {}

int TextCanvas::columns() const {
    return columns_;
}
int TextCanvas::rows() const {
    return rows_;
}
CellSize TextCanvas::cell() const {
    return cell_;
}
const std::vector<std::uint8_t>& TextCanvas::ink() const {
    return ink_;
}

void TextCanvas::clear() {
    std::ranges::fill(ink_, 0);
}

bool TextCanvas::inGrid(std::int64_t x, std::int64_t y) const {
    return x >= 1 && x <= columns_ && y >= 1 && y <= rows_;
}

void TextCanvas::fill(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
                      std::uint8_t value) {
    const std::int64_t right = std::min<std::int64_t>(left + width, columns_ * cell_.width);
    const std::int64_t bottom = std::min<std::int64_t>(top + height, rows_ * cell_.height);
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    for (std::int64_t y = top; y < bottom; ++y)
        for (std::int64_t x = left; x < right; ++x)
            ink_[y * panelWidth_ + x] = value;
}

void TextCanvas::putCell(std::int64_t x, std::int64_t y, std::size_t image) {
    if (!inGrid(x, y))
        return;
    const std::uint8_t* source = cellImages_.data() + image * cell_.width * cell_.height;
    std::uint8_t* target =
        ink_.data() + (y - 1) * cell_.height * panelWidth_ + (x - 1) * cell_.width;
    for (int row = 0; row < cell_.height; ++row, source += cell_.width, target += panelWidth_)
        std::memcpy(target, source, cell_.width);
}

void TextCanvas::string(int x, int y, std::string_view latin1) {
    for (std::size_t i = 0; i < latin1.size(); ++i)
        putCell(x + static_cast<std::int64_t>(i), y, static_cast<unsigned char>(latin1[i]));
}

void TextCanvas::character(int x, int y, unsigned char latin1) {
    putCell(x, y, latin1);
}

void TextCanvas::icon(int x, int y, Icon icon) {
    const auto index = static_cast<std::size_t>(icon);
    if (index < kIconImages)
        putCell(x, y, kCharacterImages + index);
}

void TextCanvas::horizontalBar(int x, int y, int lengthCells, int promille) {
    if (lengthCells <= 0)
        return;
    const std::int64_t lit =
        (std::int64_t{std::clamp(promille, 0, 1000)} * lengthCells * cell_.width + 500) / 1000;
    const std::int64_t left = (std::int64_t{x} - 1) * cell_.width;
    const std::int64_t top = (std::int64_t{y} - 1) * cell_.height;
    const std::int64_t cellsReached = (lit + cell_.width - 1) / cell_.width;
    fill(left, top, cellsReached * cell_.width, cell_.height, 0);
    fill(left, top + box_.top, lit, box_.height(), 1);
}

void TextCanvas::verticalBar(int x, int y, int lengthCells, int promille) {
    if (lengthCells <= 0)
        return;
    const std::int64_t lit =
        (std::int64_t{std::clamp(promille, 0, 1000)} * lengthCells * cell_.height + 500) / 1000;
    const std::int64_t left = (std::int64_t{x} - 1) * cell_.width;
    const std::int64_t bottom = std::int64_t{y} * cell_.height;
    const std::int64_t cellsReached = (lit + cell_.height - 1) / cell_.height;
    fill(left, bottom - cellsReached * cell_.height, cell_.width, cellsReached * cell_.height, 0);
    fill(left + box_.left, bottom - lit, box_.width(), lit, 1);
}

void TextCanvas::bigNumber(int x, int digit) {
    if (digit < 0 || digit > 10)
        return;
    const bool colon = digit == 10;
    // The glyph's dots as blocks as large as fit 3 x 4 cells, centred in them.
    const int areaWidth = 3 * cell_.width;
    const int areaHeight = 4 * cell_.height;
    const int scaleX = (areaWidth - 1) / 5;
    const int scaleY = (areaHeight - 1) / 7;
    const std::int64_t left = (std::int64_t{x} - 1) * cell_.width;
    const int top = (areaHeight - 7 * scaleY) / 2;
    fill(left, 0, (colon ? 1 : 3) * cell_.width, areaHeight, 0);
    if (colon) {
        // One column holds the colon's dots, as wide as two dots of a digit's stroke can be.
        const int dotWidth = std::min(2 * scaleX, cell_.width - 1);
        const Drawing5x7 glyph = *glyph5x7(':');
        for (int row = 0; row < 7; ++row)
            if (glyph.rows[row] != 0)
                fill(left + (cell_.width - dotWidth) / 2, top + row * scaleY, dotWidth, scaleY, 1);
        return;
    }
    const std::int64_t glyphLeft = left + (areaWidth - 5 * scaleX) / 2;
    forEachDot(*glyph5x7(static_cast<unsigned char>('0' + digit)), [&](int column, int row) {
        fill(glyphLeft + column * scaleX, top + row * scaleY, scaleX, scaleY, 1);
    });
}

void TextCanvas::cursor(int x, int y, CursorStyle style) {
    if (!inGrid(x, y))
        return;
    const std::int64_t left = (std::int64_t{x} - 1) * cell_.width + box_.left;
    const std::int64_t top = (std::int64_t{y} - 1) * cell_.height + box_.top;
    if (style == CursorStyle::Underline) {
        const int below = std::min(box_.scaleY, cell_.height - box_.top - box_.height());
        fill(left, top + box_.height(), box_.width(), below, 1);
    } else if (style == CursorStyle::Block) {
        for (std::int64_t row = top; row < top + box_.height(); ++row)
            for (std::int64_t column = left; column < left + box_.width(); ++column)
                ink_[row * panelWidth_ + column] ^= 1;
    }
}

}  // namespace dotwall::text_display

// The text canvas in every offered cell size: each symbol inside its own cell and told apart
// from the others, text shifted by whole cells, bars of every length, big digits, the cursor,
// and nothing drawn outside the grid.
#include <functional>
#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "text_display/text_canvas.h"

namespace dotwall::text_display {
namespace {

using Pixels = std::vector<std::uint8_t>;
using Draw = std::function<void(TextCanvas&)>;

// A few pixels beyond the last whole cells in every offered size: they must stay paper.
constexpr int kPanelWidth = 643;
constexpr int kPanelHeight = 245;

class TextCanvasTest : public ::testing::TestWithParam<CellSize> {
  protected:
    CellSize cell = GetParam();
    GlyphBox box = *glyphBox(cell);
    TextCanvas canvas{kPanelWidth, kPanelHeight, cell};

    // What `draw` puts on a cleared canvas.
    Pixels drawn(const Draw& draw) {
        canvas.clear();
        draw(canvas);
        return canvas.ink();
    }
    static void set(Pixels& pixels, int left, int top, int width, int height, std::uint8_t ink) {
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                pixels[y * kPanelWidth + x] = ink;
    }
    // The cell's pixels, or nothing when ink lies anywhere but in its glyph box.
    std::optional<Pixels> glyphArea(int x, int y) const {
        const int left = (x - 1) * cell.width + box.left;
        const int top = (y - 1) * cell.height + box.top;
        Pixels area;
        for (int py = 0; py < kPanelHeight; ++py)
            for (int px = 0; px < kPanelWidth; ++px) {
                const bool inside =
                    px >= left && px < left + box.width() && py >= top && py < top + box.height();
                if (inside)
                    area.push_back(canvas.ink()[py * kPanelWidth + px]);
                else if (canvas.ink()[py * kPanelWidth + px])
                    return std::nullopt;
            }
        return area;
    }
};

TEST_P(TextCanvasTest, EverySymbolStaysInItsGlyphAreaAndDiffersFromTheOthers) {
    std::vector<Pixels> characters;
    for (int code = 0; code < 256; ++code) {
        drawn([&](TextCanvas& c) { c.character(2, 3, static_cast<unsigned char>(code)); });
        const auto area = glyphArea(2, 3);
        ASSERT_TRUE(area) << "character " << code << " spills out of its glyph area";
        characters.push_back(*area);
    }
    const Pixels blank(characters[' '].size(), 0);
    const Pixels placeholder = characters[0];
    EXPECT_NE(placeholder, blank);
    // Apart from the no-break space and the soft hyphen, each printable character has a look
    // of its own.
    std::set<Pixels> printable(characters.begin() + 32, characters.begin() + 127);
    printable.insert(characters.begin() + 160, characters.end());
    EXPECT_EQ(printable.size(), 95u + 96u - 2u) << "two printable characters look alike";
    EXPECT_EQ(characters[0xA0], characters[' ']);
    EXPECT_EQ(characters[0xAD], characters['-']);
    std::set<Pixels> icons;
    for (int icon = 0; icon <= static_cast<int>(Icon::Record); ++icon) {
        drawn([&](TextCanvas& c) { c.icon(2, 3, static_cast<Icon>(icon)); });
        const auto area = glyphArea(2, 3);
        ASSERT_TRUE(area) << "icon " << icon << " spills out of its glyph area";
        EXPECT_NE(*area, blank) << "icon " << icon;
        EXPECT_NE(*area, placeholder) << "icon " << icon;
        icons.insert(*area);
    }
    EXPECT_EQ(icons.size(), static_cast<std::size_t>(Icon::Record) + 1) << "two icons look alike";
    for (int code = 0; code < 256; ++code) {
        const bool control = code < 32 || (code >= 127 && code < 160);
        EXPECT_EQ(characters[code] == placeholder, control) << "character " << code;
        EXPECT_EQ(characters[code] == blank, code == ' ' || code == 0xA0) << "character " << code;
    }
}

// Moved onto a row that a bar fills, each character replaces its cell's pixels.
TEST_P(TextCanvasTest, TextMovedByWholeCellsLooksTheSame) {
    const std::string_view text = "Hg|~\xE9\x01 Q";
    const Pixels home = drawn([&](TextCanvas& c) { c.string(1, 1, text); });
    const Draw bar = [](TextCanvas& c) { c.horizontalBar(1, 3, c.columns(), 1000); };
    const Pixels barOnly = drawn(bar);
    const Pixels moved = drawn([&](TextCanvas& c) {
        bar(c);
        c.string(5, 3, text);
    });
    const int dx = 4 * cell.width;
    const int dy = 2 * cell.height;
    for (int y = 0; y < kPanelHeight; ++y)
        for (int x = 0; x < kPanelWidth; ++x) {
            const bool onText = x >= dx && x < dx + static_cast<int>(text.size()) * cell.width &&
                                y >= dy && y < dy + cell.height;
            ASSERT_EQ(moved[y * kPanelWidth + x],
                      onText ? home[(y - dy) * kPanelWidth + x - dx] : barOnly[y * kPanelWidth + x])
                << "pixel " << x << ", " << y;
        }
}

TEST_P(TextCanvasTest, BarsLightExactlyTheirLengthAndClearOnlyTheCellsTheyReach) {
    const Draw text = [row = std::string(canvas.columns(), '#')](TextCanvas& c) {
        for (int r = 1; r <= c.rows(); ++r)
            c.string(1, r, row);
    };
    const Pixels textOnly = drawn(text);
    for (const bool vertical : {false, true}) {
        const int side = vertical ? cell.height : cell.width;
        for (const int cells : {1, 3, vertical ? canvas.rows() : canvas.columns()}) {
            const int x = vertical ? 2 : 1;
            const int y = vertical ? cells : 2;
            for (int length = 0; length <= cells * side; ++length) {
                const int promille = (2000 * length + cells * side) / (2 * cells * side);
                const int reached = (length + side - 1) / side;
                Pixels expected = textOnly;
                if (vertical) {
                    const int bottom = y * cell.height;
                    set(expected, (x - 1) * cell.width, bottom - reached * side, cell.width,
                        reached * side, 0);
                    set(expected, (x - 1) * cell.width + box.left, bottom - length, box.width(),
                        length, 1);
                } else {
                    set(expected, 0, (y - 1) * cell.height, reached * side, cell.height, 0);
                    set(expected, 0, (y - 1) * cell.height + box.top, length, box.height(), 1);
                }
                const Pixels bar = drawn([&](TextCanvas& c) {
                    text(c);
                    if (vertical)
                        c.verticalBar(x, y, cells, promille);
                    else
                        c.horizontalBar(x, y, cells, promille);
                });
                ASSERT_TRUE(bar == expected)
                    << (vertical ? "vertical" : "horizontal") << " bar of " << cells << " cells, "
                    << length << " pixels (" << promille << " promille)";
            }
        }
    }
}

// Each draw that reaches beyond the grid draws exactly what its part inside does.
TEST_P(TextCanvasTest, ClipsAtEveryEdge) {
    const int columns = canvas.columns();
    const int rows = canvas.rows();
    const Draw nothing = [](TextCanvas&) {};
    const std::vector<std::pair<Draw, Draw>> cases = {
        {[](TextCanvas& c) { c.string(-2, 2, "abcdef"); },
         [](TextCanvas& c) { c.string(1, 2, "def"); }},
        {[](TextCanvas& c) { c.string(0, 2, "abc"); }, [](TextCanvas& c) { c.string(1, 2, "bc"); }},
        {[&](TextCanvas& c) { c.string(columns - 2, rows, "abcdef"); },
         [&](TextCanvas& c) { c.string(columns - 2, rows, "abc"); }},
        {[&](TextCanvas& c) {
             c.string(3, 0, "abc");
             c.string(3, rows + 1, "abc");
             c.character(0, 1, 'A');
             c.character(columns + 1, 1, 'A');
             c.icon(1, -1, Icon::BlockFilled);
             c.icon(1, rows + 1, Icon::BlockFilled);
             c.cursor(0, 1, CursorStyle::Block);
             c.cursor(columns + 1, rows + 1, CursorStyle::Underline);
             c.horizontalBar(2, 0, 3, 1000);
             c.verticalBar(2, rows + 2, 2, 1000);
             c.horizontalBar(2, 2, 3, -20);
             c.verticalBar(2, 2, -3, 1000);
             c.bigNumber(columns + 1, 8);
             c.bigNumber(-2, 8);
             c.bigNumber(1, 11);
         },
         nothing},
        {[&](TextCanvas& c) { c.horizontalBar(columns - 1, 1, 5, 1000); },
         [&](TextCanvas& c) { c.horizontalBar(columns - 1, 1, 2, 1000); }},
        {[](TextCanvas& c) { c.horizontalBar(-1, 2, 4, 750); },
         [](TextCanvas& c) { c.horizontalBar(1, 2, 1, 1000); }},
        {[](TextCanvas& c) { c.horizontalBar(1, 2, 3, 1500); },
         [](TextCanvas& c) { c.horizontalBar(1, 2, 3, 1000); }},
        {[](TextCanvas& c) { c.verticalBar(2, 1, 3, 1000); },
         [](TextCanvas& c) { c.verticalBar(2, 1, 1, 1000); }},
        {[&](TextCanvas& c) { c.verticalBar(3, rows + 2, 3, 1000); },
         [&](TextCanvas& c) { c.verticalBar(3, rows, 1, 1000); }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_TRUE(drawn(cases[i].first) == drawn(cases[i].second)) << "case " << i;
}

// Big digits cover their 3 x 4 cells (a colon 1 x 4) on the top rows, cut at the grid's edges
// as if it went on.
TEST_P(TextCanvasTest, BigDigitsReplaceTheirCellsOnTheTopRows) {
    const Draw text = [row = std::string(canvas.columns(), 'H')](TextCanvas& c) {
        for (int r = 1; r <= c.rows(); ++r)
            c.string(1, r, row);
    };
    const Pixels textOnly = drawn(text);
    const int left = 5;
    std::set<Pixels> digits;
    for (int digit = 0; digit <= 10; ++digit) {
        const Pixels big = drawn([&](TextCanvas& c) { c.bigNumber(left, digit); });
        const int width = (digit == 10 ? 1 : 3) * cell.width;
        Pixels expected = textOnly;
        set(expected, (left - 1) * cell.width, 0, width, 4 * cell.height, 0);
        Pixels inside(big.size(), 0);
        for (int y = 0; y < 4 * cell.height; ++y)
            for (int x = (left - 1) * cell.width; x < (left - 1) * cell.width + width; ++x)
                expected[y * kPanelWidth + x] = inside[y * kPanelWidth + x] =
                    big[y * kPanelWidth + x];
        EXPECT_EQ(big, inside) << "digit " << digit << " spills out of its cells";
        EXPECT_NE(big, Pixels(big.size(), 0)) << "digit " << digit;
        digits.insert(big);
        EXPECT_TRUE(drawn([&](TextCanvas& c) {
                        text(c);
                        c.bigNumber(left, digit);
                    }) == expected)
            << "digit " << digit << " over text";
    }
    EXPECT_EQ(digits.size(), 11u);
    // At the grid's edges: the part inside, as on a panel three cells wider on either side.
    const int widerWidth = kPanelWidth + 6 * cell.width;
    TextCanvas wider{widerWidth, kPanelHeight, cell};
    for (const int digit : {0, 8}) {
        for (const int x : {-1, canvas.columns() - 1}) {
            const Pixels cut = drawn([&](TextCanvas& c) { c.bigNumber(x, digit); });
            wider.bigNumber(x + 3, digit);
            for (int y = 0; y < kPanelHeight; ++y)
                for (int px = 0; px < kPanelWidth; ++px) {
                    const bool onGrid =
                        px < canvas.columns() * cell.width && y < canvas.rows() * cell.height;
                    ASSERT_EQ(cut[y * kPanelWidth + px],
                              onGrid ? wider.ink()[y * widerWidth + px + 3 * cell.width] : 0)
                        << "digit " << digit << " at column " << x << ", pixel " << px << ", " << y;
                }
            wider.clear();
        }
    }
}

TEST_P(TextCanvasTest, CursorInvertsOrUnderlinesTheGlyph) {
    const Pixels letter = drawn([](TextCanvas& c) { c.character(3, 2, 'A'); });
    Pixels block = letter;
    const int left = 2 * cell.width + box.left;
    const int top = cell.height + box.top;
    for (int y = top; y < top + box.height(); ++y)
        for (int x = left; x < left + box.width(); ++x)
            block[y * kPanelWidth + x] ^= 1;
    Pixels underline = letter;
    set(underline, left, top + box.height(), box.width(), 1, 1);
    const auto withCursor = [&](CursorStyle style) {
        return drawn([&](TextCanvas& c) {
            c.character(3, 2, 'A');
            c.cursor(3, 2, style);
        });
    };
    EXPECT_TRUE(withCursor(CursorStyle::Block) == block);
    EXPECT_TRUE(withCursor(CursorStyle::Underline) == underline);
    EXPECT_TRUE(withCursor(CursorStyle::Off) == letter);
}

INSTANTIATE_TEST_SUITE_P(OfferedCells, TextCanvasTest, ::testing::ValuesIn(offeredCellSizes()),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

TEST(TextCanvas, GridOfTheOfferedCellsAndRefusals) {
    EXPECT_EQ(offeredCellSizes().front(), (CellSize{6, 8}));
    EXPECT_THAT(offeredCellSizes(), ::testing::Contains(CellSize{8, 16}));
    const TextCanvas lpt{640, 240, {6, 8}};
    EXPECT_EQ(lpt.columns(), 106);
    EXPECT_EQ(lpt.rows(), 30);
    const auto refused = [](int width, int height, CellSize cell, const char* message) {
        try {
            TextCanvas{width, height, cell};
            ADD_FAILURE() << message;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::WrongUsage);
            EXPECT_THAT(error.what(), ::testing::HasSubstr(message));
        }
    };
    refused(640, 240, {7, 9}, "the cell 7x9 is not offered (offered: 6x8, 8x8, 8x16, 12x16)");
    refused(10, 10, {12, 16}, "the cell 12x16 is larger than the 10 x 10 panel");
}

}  // namespace
}  // namespace dotwall::text_display

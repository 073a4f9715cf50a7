#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dotwall {

// A single-scan panel's size: pixels per line and lines per frame.
struct PanelSize {
    int width = 0;
    int lines = 0;

    friend bool operator==(const PanelSize&, const PanelSize&) = default;
};

// A packed frame of a single-scan panel: what the packers return, the stream sends, the
// decoder, the preview and the frame file take. Its lines one after another, line n at byte
// n · bytesPerLine().
//
//   Two grey levels (lit or dark): a byte carries a group of four pixels in its low nibble,
//   the leftmost in bit 3, a lit pixel 1, bits 4 to 7 0; width / 4 bytes a line.
//   More levels (up to 16): a byte carries one pixel's level; width bytes a line.
struct PanelFrame {
    static constexpr int kMostGreyLevels = 16;

    PanelSize size;
    int greyLevels = 2;
    std::vector<std::uint8_t> bytes;

    static std::size_t bytesPerLine(PanelSize size, int greyLevels) {
        return static_cast<std::size_t>(greyLevels > 2 ? size.width : size.width / 4);
    }
    static std::size_t bytesFor(PanelSize size, int greyLevels) {
        return static_cast<std::size_t>(size.lines) * bytesPerLine(size, greyLevels);
    }
    // A frame of that size with every pixel dark.
    static PanelFrame dark(PanelSize size, int greyLevels = 2) {
        return {size, greyLevels, std::vector<std::uint8_t>(bytesFor(size, greyLevels), 0)};
    }

    std::size_t bytesPerLine() const { return bytesPerLine(size, greyLevels); }

    friend bool operator==(const PanelFrame&, const PanelFrame&) = default;
};

}  // namespace dotwall

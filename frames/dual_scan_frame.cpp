#include "frames/dual_scan_frame.h"

namespace dotwall::dual_scan {

namespace {

int pixelBit(ColourValue colour) {
    return colour > kThreshold ? 1 : 0;
}

// Column c of a line from the four points x = 4c .. 4c + 3 of picture row r (low nibble) and
// of the row 240 further down (high nibble).
std::uint8_t packColumn(const PictureArea& picture, int column, int row) {
    int upper = 0;
    int lower = 0;
    for (int j = 0; j < 4; ++j) {
        const auto x = static_cast<float>(4 * column + j);
        upper = upper * 2 + pixelBit(picture.pointColour(x, static_cast<float>(row)));
        lower = lower * 2 + pixelBit(picture.pointColour(x, static_cast<float>(row + kHalfHeight)));
    }
    return static_cast<std::uint8_t>(upper + 16 * lower);
}

}  // namespace

FrameBuffer pack(const PictureArea& picture) {
    FrameBuffer packed;
    packed.preFill();

    // Rows 1 to 240 give lines 0 to 239. The 161st column samples x = 640 to 643, beyond the
    // area, and packs 0 into the first byte of the next line, which that line overwrites;
    // after the last line it stays in element 38400.
    for (int row = 1; row <= kLines; ++row) {
        for (int column = 0; column <= kBytesPerLine; ++column) {
            packed.at(kBytesPerLine * (row - 1) + column) = packColumn(picture, column, row);
        }
    }
    // Row 0 and row 240 go last, into line 239, replacing what row 240 and the empty row 480
    // gave it above.
    for (int column = 0; column <= kBytesPerLine; ++column) {
        packed.at(kBytesPerLine * (kLines - 1) + column) = packColumn(picture, column, 0);
    }
    return packed;
}

PanelPicture panelPicture(std::span<const std::uint8_t> frame) {
    PanelPicture panel(kPanelWidth, 2 * kHalfHeight);
    for (int line = 0; line < kLines; ++line) {
        for (int x = 0; x < kPanelWidth; ++x) {
            const unsigned byte = frame[static_cast<std::size_t>(kBytesPerLine * line + x / 4)];
            const int bit = 3 - x % 4;
            panel.setLit(x, line, (byte >> bit) & 1u);
            panel.setLit(x, kHalfHeight + line, (byte >> (bit + 4)) & 1u);
        }
    }
    return panel;
}

}  // namespace dotwall::dual_scan

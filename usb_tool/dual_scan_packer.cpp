#include "dual_scan_packer.h"

#include <cstdint>

namespace dotwall::usb_tool {

namespace {

// Puts the lamp back to the window background when the conversion ends, however it ends.
// No forced repaint: the window repaints the lamp when it next handles its events.
class LampLitWhileBusy {
  public:
    explicit LampLitWhileBusy(BusyLamp& lamp) : lamp_(lamp) {
        lamp_.setLampColour(kPureRed);
        lamp_.repaintWindowNow();
    }
    ~LampLitWhileBusy() { lamp_.setLampColour(kWindowBackground); }
    LampLitWhileBusy(const LampLitWhileBusy&) = delete;
    LampLitWhileBusy& operator=(const LampLitWhileBusy&) = delete;

  private:
    BusyLamp& lamp_;
};

int pixelBit(ColourValue colour) {
    return colour > kDualScanThreshold ? 1 : 0;
}

// One frame byte from the four points x = (4c + j)·sx, j = 0..3, of picture row r·sy (low
// nibble) and of the row 240 further down (high nibble); the 240 is not scaled.
std::uint8_t packColumn(const PictureArea& picture, int column, int row, int sx, int sy) {
    int upper = 0;
    int lower = 0;
    for (int j = 0; j < 4; ++j) {
        const auto x = static_cast<float>((4 * column + j) * sx);
        const auto upperY = static_cast<float>(row * sy);
        const auto lowerY = static_cast<float>(row * sy + kHalfHeight);
        upper = upper * 2 + pixelBit(picture.pointColour(x, upperY));
        lower = lower * 2 + pixelBit(picture.pointColour(x, lowerY));
    }
    return static_cast<std::uint8_t>(upper + 16 * lower);
}

}  // namespace

void convertDualScan(const PictureArea& picture, BusyLamp& lamp, FrameBuffer& frame) {
    const LampLitWhileBusy busy(lamp);

    FrameBuffer packed = frame;
    packed.preFill();
    const std::int16_t sx = 1;
    const std::int16_t sy = 1;

    // Rows 1 to 240 give lines 0 to 239. The 161st column samples x = 640 to 643, beyond the
    // area, and packs 0 into the first byte of the next line, which that line overwrites;
    // after the last line it stays in element 38400.
    for (int row = 1; row <= kDualScanLines; ++row) {
        for (int column = 0; column <= kBytesPerLine; ++column) {
            packed.at(kBytesPerLine * (row - 1) + column) =
                packColumn(picture, column, row, sx, sy);
        }
    }
    // Row 0 and row 240 go last, into line 239, replacing what row 240 and the empty row 480
    // gave it above.
    for (int column = 0; column <= kBytesPerLine; ++column) {
        packed.at(kBytesPerLine * (kDualScanLines - 1) + column) =
            packColumn(picture, column, 0, sx, sy);
    }

    frame = packed;
}

}  // namespace dotwall::usb_tool

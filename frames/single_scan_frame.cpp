#include "frames/single_scan_frame.h"

#include <algorithm>

#include "base/float_checks.h"

namespace dotwall::single_scan {

namespace {

int pixelBit(ColourValue colour) {
    return colour > kThreshold ? 1 : 0;
}

// Byte g of a line from the samples at columns 4g to 4g + 3, the leftmost in bit 3.
std::uint8_t packByte(const PictureArea& picture, int byteColumn, float sx, float y) {
    int byte = 0;
    for (int k = 0; k < kPixelsPerByte; ++k) {
        const float x = static_cast<float>(kPixelsPerByte * byteColumn + k) * sx;
        byte = 2 * byte + pixelBit(picture.pointColour(x, y));
    }
    return static_cast<std::uint8_t>(byte);
}

void stampTestMark(FrameBuffer& frame) {
    constexpr int kMarkColumn = 20;
    constexpr int kMarkedLines = 9;
    for (int line = 0; line < kMarkedLines; ++line) {
        frame.at(kMarkColumn + kBytesPerLine * line) = line % 2 == 0 ? 0b0101 : 0b1010;
    }
}

}  // namespace

Packing pack(const PictureArea& picture) {
    // The pitch across is a 32-bit float, the pitch down a 64-bit one.
    const float sx = checkedDivide(picture.areaWidth(), static_cast<float>(kGridColumns),
                                   "the grid pitch across (picture width / 640)");
    const double sy = checkedDivide(static_cast<double>(picture.areaHeight()),
                                    static_cast<double>(kGridLinePitches),
                                    "the grid pitch down (picture height / 240)");
    Packing packing;
    packing.frame.preFill();
    for (int line = 0; line < kLines; ++line) {
        const auto y = static_cast<float>(line * sy);
        for (int byteColumn = 0; byteColumn < kBytesPerLine; ++byteColumn) {
            packing.frame.at(kBytesPerLine * line + byteColumn) =
                packByte(picture, byteColumn, sx, y);
        }
    }
    std::copy_n(packing.frame.data(), kDumpedBytes, packing.firstPackedBytes.begin());
    stampTestMark(packing.frame);
    return packing;
}

}  // namespace dotwall::single_scan

#include "single_scan_packer.h"

#include <cstdint>

#include "decimal_text.h"
#include "float_checks.h"
#include "single_scan_layout.h"

namespace dotwall::port_tool {

namespace {

int pixelBit(ColourValue colour) {
    return colour > kSingleScanThreshold ? 1 : 0;
}

// Byte g of a line from the samples at columns 4·g to 4·g + 3, the leftmost in bit 3.
// Column and pitch are multiplied in 32-bit floating point, as the grid is laid out.
std::uint8_t packByte(const PictureArea& picture, int byteColumn, float sx, float y) {
    int byte = 0;
    for (int k = 0; k < kPixelsPerByte; ++k) {
        const float x = static_cast<float>(kPixelsPerByte * byteColumn + k) * sx;
        byte = 2 * byte + pixelBit(picture.pointColour(x, y));
    }
    return static_cast<std::uint8_t>(byte);
}

// Appends " " and the signed-number form of each value (" 5" for 5), updating the box once
// per value so the text grows behind whatever it held.
void dumpFirstBytes(const FrameBuffer& frame, TextBox& text1) {
    for (int i = 0; i < kDumpedBytes; ++i) {
        text1.setText(text1.text() + " " + signedNumberText(frame.at(i)));
    }
}

// A fixed pattern in byte column 20 of lines 0 to 8, to find the panel's top-left corner and
// check the line order whatever the picture shows.
void stampTestMark(FrameBuffer& frame) {
    constexpr int kMarkColumn = 20;
    constexpr int kMarkedLines = 9;
    for (int line = 0; line < kMarkedLines; ++line) {
        frame.at(kMarkColumn + kBytesPerLine * line) = line % 2 == 0 ? 0b0101 : 0b1010;
    }
}

}  // namespace

void convertSingleScan(const PictureArea& picture, TextBox& text1, FrameBuffer& frame) {
    FrameBuffer packed = frame;
    packed.preFill();

    // The pitch across is a 32-bit float, the pitch down a 64-bit one.
    const float sx = checkedDivide(picture.areaWidth(), static_cast<float>(kGridColumns),
                                   "the grid pitch across (picture width / 640)");
    const double sy = checkedDivide(static_cast<double>(picture.areaHeight()),
                                    static_cast<double>(kGridLinePitches),
                                    "the grid pitch down (picture height / 240)");

    for (int line = 0; line < kLines; ++line) {
        const auto y = static_cast<float>(line * sy);
        for (int byteColumn = 0; byteColumn < kBytesPerLine; ++byteColumn) {
            packed.at(kBytesPerLine * line + byteColumn) = packByte(picture, byteColumn, sx, y);
        }
    }

    dumpFirstBytes(packed, text1);
    stampTestMark(packed);
    frame = packed;
}

}  // namespace dotwall::port_tool

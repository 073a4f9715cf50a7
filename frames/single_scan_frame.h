#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "frames/colour_value.h"
#include "frames/frame_buffer.h"
#include "frames/panel_picture.h"
#include "frames/picture_area.h"

// The frame of the single-scan panel with a 4-bit bus that DotwallLpt packs and streams:
// 241 lines of 160 bytes, line n at byte 160·n, 38560 bytes.
//
//   Byte g of a line carries the four pixels at grid columns 4g to 4g + 3 in its low
//   nibble, the leftmost in bit 3; bits 4 to 7 are 0.
//   The grid is 640 columns by 240 line pitches scaled to the picture area's width and
//   height: column i lies at x = i · (width / 640), computed in 32-bit floating point, and
//   line n at y = n · (height / 240), computed in 64-bit floating point and rounded to 32
//   bits. Its 241st line lies on the area's lower edge, outside it, and is part of every
//   frame.
//   A pixel is lit when its colour value, as a signed 32-bit number, is above 128: black,
//   pure dark red (128) and -1 (outside the area) are dark.
//   After packing, a test mark goes into byte column 20 (pixel columns 80 to 83) of lines 0
//   to 8: 0101 on even and 1010 on odd lines, whatever the picture, to find the panel's
//   top-left corner and check the line order.
namespace dotwall::single_scan {

inline constexpr int kGridColumns = 640;
inline constexpr int kGridLinePitches = 240;
inline constexpr int kLines = 241;
inline constexpr int kBytesPerLine = 160;
inline constexpr int kPixelsPerByte = 4;
inline constexpr std::size_t kFrameBytes = kLines * kBytesPerLine;  // 38560
inline constexpr ColourValue kThreshold = 128;
// The first packed bytes a conversion shows, before the test mark goes in.
inline constexpr std::size_t kDumpedBytes = 201;

// DotwallLpt's picture area: 9650 x 3660 twips (about 643 x 244 pixels) around its 640 x 240
// picture, measured in twips. The grid spans the whole area, so its last three columns and
// lines sample the area beyond the picture. White there extends the black-on-white
// picture's own paper; any darker colour would draw bars along the panel's right and bottom
// edges that are not in the picture.
inline constexpr AreaSize kPictureAreaSize{9650.0f, 3660.0f, AreaUnit::Twip};
inline constexpr ColourValue kPictureBackground = kWhite;

struct Packing {
    // Elements 0 to 38559 the frame with its test mark, 38560 to 71999 the pre-fill 5,
    // element 72000 never written (0).
    FrameBuffer frame;
    // Elements 0 to 200 as packed, before the test mark.
    std::array<std::uint8_t, kDumpedBytes> firstPackedBytes;
};

// Convert: samples the area on the grid, 154240 point queries, and packs the frame. A pitch
// that is no finite number (an infinite or NaN width or height) is a FloatingPointFault.
Packing pack(const PictureArea& picture);

}  // namespace dotwall::single_scan

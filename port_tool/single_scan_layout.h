#pragma once

#include <cstddef>

namespace dotwall::port_tool {

// The frame of the single-scan panel in the frame buffer: 241 lines of 160 bytes, line n at
// 160·n. Each byte carries four adjacent pixels in its low nibble, the leftmost in bit 3;
// bits 4 to 7 are 0. The grid is 640 columns by 240 line pitches; its 241st line lies on
// the picture's lower edge and is part of every frame.
inline constexpr int kGridColumns = 640;
inline constexpr int kGridLinePitches = 240;
inline constexpr int kLines = 241;
inline constexpr int kBytesPerLine = 160;
inline constexpr int kPixelsPerByte = 4;
inline constexpr std::ptrdiff_t kFrameBytes = kLines * kBytesPerLine;  // 38560

}  // namespace dotwall::port_tool

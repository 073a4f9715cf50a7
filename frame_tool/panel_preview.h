#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace dotwall::frame_tool {

// The two frames a panel can be fed: the dual-scan frame file of DotwallUsb (38402 bytes:
// 240 line pairs of 160 bytes and two bytes more) and the single-scan frame of DotwallLpt
// (241 lines of 160 bytes).
inline constexpr std::size_t kDualScanFrameFileBytes = 38402;
inline constexpr std::size_t kSingleScanFrameBytes = 38560;
inline constexpr std::size_t kLongestFrameBytes = kSingleScanFrameBytes;

// The picture a panel shows for a frame, lit pixels white and dark ones black, built line
// by line in the order the panel receives the lines: line k of a dual-scan frame lights
// row k of the upper half (low nibbles) and row 240 + k of the lower half (high nibbles);
// line n of a single-scan frame lights row n (640 x 241, the last line included).
// The leftmost of four pixels is a nibble's top bit. Raises RuntimeError TypeMismatch for a
// frame of any other length.
QImage previewPanel(const std::vector<std::uint8_t>& frame);

}  // namespace dotwall::frame_tool

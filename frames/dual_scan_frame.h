#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "frames/colour_value.h"
#include "frames/frame_buffer.h"
#include "frames/panel_picture.h"
#include "frames/picture_area.h"

// The frame of the dual-scan panel that DotwallUsb packs, saves and sends. The panel's upper
// half (picture rows 0 to 239) and lower half (rows 240 to 479) are fed in parallel: 240 line
// pairs of 160 bytes, line k at byte 160·k.
//
//   Byte 160·k + c carries the four pixels x = 4c to 4c + 3 of two picture rows:
//     bits 7..4  row u + 240 (lower half), the leftmost pixel in bit 7
//     bits 3..0  row u (upper half), the leftmost pixel in bit 3
//   where u = (k + 1) mod 240: the frame starts one row down, so line 239, the last,
//   carries the top rows of both halves, 0 and 240.
//   A pixel is lit when its colour value, as a signed 32-bit number, is above 16777000
//   (0x00FFFF28): blue and green full and red 41 or more. White is lit; black, every other
//   colour and -1 (outside the picture area) are dark.
//
// The frame file holds frame buffer elements 0 to 38401, one byte each, no header: the
// 38400 frame bytes, then element 38400 (0: packed from points beyond the right edge) and
// element 38401 (5, the pre-fill).
namespace dotwall::dual_scan {

inline constexpr int kPanelWidth = 640;
inline constexpr int kHalfHeight = 240;
inline constexpr int kLines = 240;
inline constexpr int kBytesPerLine = 160;
inline constexpr std::size_t kFrameBytes = kLines * kBytesPerLine;  // 38400
inline constexpr std::size_t kFrameFileBytes = kFrameBytes + 2;     // 38402
inline constexpr ColourValue kThreshold = 16777000;

// DotwallUsb's picture area: 640 x 480 pixels, measured in pixels, on the window-background
// colour wherever the picture does not reach.
inline constexpr AreaSize kPictureAreaSize{640.0f, 480.0f, AreaUnit::Pixel};
inline constexpr ColourValue kPictureBackground = kWindowBackground;

// Convert: samples the 640 x 480 area through the point query, 310408 queries, and packs
// the frame into a new frame buffer: elements 0 to 38400 as above, 38401 to 71999 the
// pre-fill 5, element 72000 never written (0).
FrameBuffer pack(const PictureArea& picture);

// The 640 x 480 pixels a panel shows for the first 38400 bytes of `frame`, line by line in
// the order it receives them: line k lights row k of the upper half and row 240 + k of the
// lower half, so each half shows the picture one row up and its top row at the bottom.
PanelPicture panelPicture(std::span<const std::uint8_t> frame);

}  // namespace dotwall::dual_scan

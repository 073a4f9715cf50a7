#pragma once

#include "busy_lamp.h"
#include "colour_value.h"
#include "frame_buffer.h"
#include "picture_area.h"

namespace dotwall::usb_tool {

// A point is a lit pixel when its colour value, as a signed 32-bit number, is above this:
// blue and green full and red 41 or more. White gives 1; black, -1 and every other colour 0.
inline constexpr ColourValue kDualScanThreshold = 16777000;

// Frame layout of the dual-scan panel: 240 line pairs of 160 bytes. Each byte holds four
// adjacent pixels of an upper-half row in its low nibble and the four pixels 240 rows
// further down in its high nibble, the leftmost pixel in each nibble's top bit. Line k
// carries rows k + 1 and k + 241, so the last line (239) carries rows 0 and 240.
inline constexpr int kDualScanLines = 240;
inline constexpr int kBytesPerLine = 160;
inline constexpr int kHalfHeight = 240;
// The frame proper plus element 38400, packed from points beyond the right edge.
inline constexpr int kDualScanFrameBytes = kDualScanLines * kBytesPerLine;

// Convert: samples the 640 x 480 picture through the point query and packs it into the
// frame buffer. The lamp is red from the start (with a forced repaint) to the end and goes
// back to the window-background colour even when the conversion fails; the frame buffer is
// only replaced once the whole frame is packed.
void convertDualScan(const PictureArea& picture, BusyLamp& lamp, FrameBuffer& frame);

}  // namespace dotwall::usb_tool

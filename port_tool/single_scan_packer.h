#pragma once

#include "colour_value.h"
#include "frame_buffer.h"
#include "picture_area.h"
#include "text_box.h"

namespace dotwall::port_tool {

// A sample is a lit pixel when its colour value, as a signed 32-bit number, is above this.
// Outside the area (-1) and black are dark; pure dark red (128) is still dark.
inline constexpr ColourValue kSingleScanThreshold = 128;

// The first bytes of each new frame are appended to Text1 for a look at the packing.
inline constexpr int kDumpedBytes = 201;

// Convert: samples the picture on a 640 x 241 grid scaled to the area's width and height and
// packs it into the frame buffer; appends the first 201 packed bytes to Text1; then stamps
// the test mark (0101 on even and 1010 on odd lines in byte column 20 of lines 0 to 8).
// Elements 38560 to 71999 hold the pre-fill 5, element 72000 keeps its value. The frame
// buffer is replaced only once the whole frame is ready, so a failure leaves it as it was.
void convertSingleScan(const PictureArea& picture, TextBox& text1, FrameBuffer& frame);

}  // namespace dotwall::port_tool

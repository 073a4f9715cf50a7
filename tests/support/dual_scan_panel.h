#pragma once

#include "frame_buffer.h"

namespace dotwall::testing {

// Whether the dual-scan panel lights picture pixel (x, y) for a frame: picture row r of
// a half travels on line (r + 239) mod 240 (the frame starts one row down), the upper half
// in the low nibble and the lower half in the high nibble, the leftmost of four pixels in
// the nibble's top bit.
inline bool litOnDualScanPanel(const FrameBuffer& frame, int x, int y) {
    const int half = y / 240;
    const int line = (y % 240 + 239) % 240;
    const int bit = 3 - x % 4 + 4 * half;
    return (frame.at(160 * line + x / 4) >> bit) & 1;
}

}  // namespace dotwall::testing

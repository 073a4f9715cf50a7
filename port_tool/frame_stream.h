#pragma once

#include <cstdint>
#include <functional>

#include "frame_buffer.h"
#include "port_writer.h"
#include "single_scan_layout.h"

namespace dotwall::port_tool {

// The panel's inputs on the port's data lines. D0 to D3 carry a nibble of pixels, D7 is
// always 0.
inline constexpr std::uint8_t kLineLatch = 0x10;    // D4: the shifted line goes to the rows
inline constexpr std::uint8_t kFrameMarker = 0x20;  // D5: the next line is the first
inline constexpr std::uint8_t kShiftClock = 0x40;   // D6: the nibble is taken as it falls

// A frame: 48 and 32 (frame marker with and then without the latch), then for each of the
// 241 lines its 160 nibbles, each written with the clock high and again with it low, and
// 16 to latch the line.
inline constexpr long kWritesPerFrame = 2 + kLines * (2 * kBytesPerLine + 1);  // 77363

// The refresh: plays the frame out of the port, one byte per write, frame after frame.
// Between two frames, and only there, it asks stopRequested and returns when it answers
// true, so every frame sent is whole. The frame buffer is read afresh for every frame.
// A frame byte above 191 cannot carry the clock in a port byte; it is an Overflow error at
// that write.
void streamFrames(const FrameBuffer& frame, PortWriter& port,
                  const std::function<bool()>& stopRequested);

}  // namespace dotwall::port_tool

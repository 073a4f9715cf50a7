#pragma once

#include <cstdint>

namespace dotwall::text_screens {

// Where moving widgets stand at a rendering stroke, as LCDd moves them. A speed above 0 is
// strokes per step, below 0 steps per stroke, 0 standing still.

// A scroller's h or v offset: it runs from 0 to `positions` - 1 and back, resting a step at
// each end.
int bouncingOffset(std::uint64_t stroke, int positions, int speed);

// A marquee's or a frame's offset: 0 to `positions` - 1, then from 0 again.
int cyclingOffset(std::uint64_t stroke, int positions, int speed);

// A title too long for its line: it rests 15 strokes at its start, moves a character a stroke
// to its end, rests there 15 strokes and comes back. `overhang`: the characters beyond the
// line.
int titleOffset(std::uint64_t stroke, int overhang);

}  // namespace dotwall::text_screens

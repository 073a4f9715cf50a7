#pragma once

#include <string>

#include "frames/picture_area.h"

namespace dotwall::lpt_tool {

// What the mouse probe shows for a point (x, y) of the picture area, in its units.
struct GridProbeReading {
    std::string column;  // the packing grid's column under the point, 0 to 639 inside
    std::string line;    // the grid's line, 0 to 239 inside
    std::string colour;  // the colour value there, -1 outside
};

// The grid column is the largest whole number not above (640 / width) · x and the line the
// largest not above (240 / height) · y, in 64-bit floating point: the same scale the packer
// samples with. A zero width or height (or any other fault) raises FloatingPointFault before
// anything is read out, so a failed probe changes nothing.
GridProbeReading probeGrid(const PictureArea& picture, float x, float y);

}  // namespace dotwall::lpt_tool

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

// The grid column and line under the point, rounded down (single_scan::gridColumnAt and
// gridLineAt): the grid the packer samples on. A zero width or height (or any other fault) raises
// FloatingPointFault before anything is read out, so a failed probe changes nothing.
GridProbeReading probeGrid(const PictureArea& picture, float x, float y);

}  // namespace dotwall::lpt_tool

#include "lpt_tool/grid_probe.h"

#include "base/decimal_text.h"
#include "frames/single_scan_frame.h"

namespace dotwall::lpt_tool {

GridProbeReading probeGrid(const PictureArea& picture, float x, float y) {
    const double column = single_scan::gridColumnAt(picture, x);
    const double line = single_scan::gridLineAt(picture, y);
    return {floorDecimalText(column), floorDecimalText(line),
            decimalText(picture.pointColour(x, y))};
}

}  // namespace dotwall::lpt_tool

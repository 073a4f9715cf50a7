#include "lpt_tool/grid_probe.h"

#include "base/decimal_text.h"
#include "base/float_checks.h"
#include "frames/single_scan_frame.h"

namespace dotwall::lpt_tool {

namespace {

double gridPosition(double gridSize, float areaSize, float position, std::string_view what) {
    const double scale = checkedDivide(gridSize, static_cast<double>(areaSize), what);
    return checkedMultiply(scale, static_cast<double>(position), what);
}

}  // namespace

GridProbeReading probeGrid(const PictureArea& picture, float x, float y) {
    const double column = gridPosition(single_scan::kGridColumns, picture.areaWidth(), x,
                                       "the grid column (640 / width · X)");
    const double line = gridPosition(single_scan::kGridLinePitches, picture.areaHeight(), y,
                                     "the grid line (240 / height · Y)");
    return {floorDecimalText(column), floorDecimalText(line),
            decimalText(picture.pointColour(x, y))};
}

}  // namespace dotwall::lpt_tool

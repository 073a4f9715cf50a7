#include "grid_probe.h"

#include "decimal_text.h"
#include "float_checks.h"
#include "single_scan_layout.h"

namespace dotwall::port_tool {

namespace {

double gridPosition(double gridSize, float areaSize, float position, std::string_view what) {
    const double scale = checkedDivide(gridSize, static_cast<double>(areaSize), what);
    return checkedMultiply(scale, static_cast<double>(position), what);
}

}  // namespace

GridProbeReading probeGrid(const PictureArea& picture, float x, float y) {
    const double column =
        gridPosition(kGridColumns, picture.areaWidth(), x, "the grid column (640 / width · X)");
    const double line =
        gridPosition(kGridLinePitches, picture.areaHeight(), y, "the grid line (240 / height · Y)");
    return {floorDecimalText(column), floorDecimalText(line),
            decimalText(picture.pointColour(x, y))};
}

}  // namespace dotwall::port_tool

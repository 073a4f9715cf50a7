#include "grid_probe.h"

#include <gtest/gtest.h>

#include "fake_picture_area.h"
#include "runtime_error.h"

namespace dotwall::port_tool {
namespace {

using dotwall::testing::FakePictureArea;

FakePictureArea areaOf(float width, float height) {
    return FakePictureArea(width, height, [](float x, float y) {
        return x >= 0 && y >= 0 && x < 9650 && y < 3660 ? kWhite : kOutsideArea;
    });
}

TEST(GridProbe, ShowsTheGridColumnAndLineOfThePacker) {
    const auto area = areaOf(9650, 3660);
    const GridProbeReading middle = probeGrid(area, 4830, 1840);
    EXPECT_EQ(middle.column, "320");
    EXPECT_EQ(middle.line, "120");
    EXPECT_EQ(middle.colour, "16777215");
    const GridProbeReading corner = probeGrid(area, 0, 0);
    EXPECT_EQ(corner.column, "0");
    EXPECT_EQ(corner.line, "0");
    // 640 / 9650 · 9649 = 639.93...: still the last column, not 640.
    EXPECT_EQ(probeGrid(area, 9649, 0).column, "639");
}

TEST(GridProbe, OutsideTheAreaShowsNegativePositionsAndMinusOne) {
    const GridProbeReading outside = probeGrid(areaOf(9650, 3660), -15, -15);
    EXPECT_EQ(outside.column, "-1");
    EXPECT_EQ(outside.line, "-1");
    EXPECT_EQ(outside.colour, "-1");
}

TEST(GridProbe, AZeroWidthOrHeightIsAFloatingPointFault) {
    for (auto [width, height] : {std::pair{0.0f, 3660.0f}, std::pair{9650.0f, 0.0f}}) {
        try {
            probeGrid(areaOf(width, height), 10, 10);
            FAIL() << "a zero size was accepted";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::FloatingPointFault);
        }
    }
}

}  // namespace
}  // namespace dotwall::port_tool

#include "dual_scan_packer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dual_scan_panel.h"
#include "fake_picture_area.h"

namespace dotwall::usb_tool {
namespace {

using dotwall::testing::FakePictureArea;
using dotwall::testing::litOnDualScanPanel;

// A 640 x 480 picture whose white points are listed; everything else is black, and
// points beyond the picture are outside (-1).
FakePictureArea pictureWithWhitePoints(std::set<std::pair<int, int>> white) {
    return FakePictureArea(640, 480, [white = std::move(white)](float x, float y) {
        if (x < 0 || y < 0 || x >= 640 || y >= 480) {
            return kOutsideArea;
        }
        const bool isWhite = white.count({static_cast<int>(x), static_cast<int>(y)}) > 0;
        return isWhite ? kWhite : kBlack;
    });
}

FakePictureArea uniformPicture(ColourValue colour) {
    return FakePictureArea(640, 480, [colour](float x, float y) {
        return x < 0 || y < 0 || x >= 640 || y >= 480 ? kOutsideArea : colour;
    });
}

class RecordingLamp final : public BusyLamp {
  public:
    void setLampColour(ColourValue colour) override {
        events.push_back("colour " + std::to_string(colour));
    }
    void repaintWindowNow() override { events.push_back("repaint"); }

    std::vector<std::string> events;
};

FrameBuffer convert(const PictureArea& picture, FrameBuffer frame = {}) {
    RecordingLamp lamp;
    convertDualScan(picture, lamp, frame);
    return frame;
}

TEST(DualScanPacker, WorkedExampleGivesFortyFourInTheFirstByteAndZeroElsewhere) {
    const FrameBuffer frame = convert(pictureWithWhitePoints({{0, 1}, {1, 1}, {2, 241}}));
    EXPECT_EQ(frame.at(0), 44);
    for (int i = 1; i < 38400; ++i) {
        ASSERT_EQ(frame.at(i), 0) << "element " << i;
    }
}

TEST(DualScanPacker, SinglePointsLandOnTheirLineColumnAndBit) {
    struct Case {
        int x, y, element, value;
    };
    // Row 0 and row 240 travel last, on line 239; row 1 first. A mirrored nibble or a
    // swapped half moves the bit.
    for (const Case& c : {Case{0, 0, 38240, 8}, Case{0, 240, 38240, 128}, Case{3, 241, 0, 16},
                          Case{635, 475, 37598, 16}, Case{3, 1, 0, 1}, Case{1, 239, 38080, 4},
                          Case{638, 479, 38239, 32}}) {
        const FrameBuffer frame = convert(pictureWithWhitePoints({{c.x, c.y}}));
        EXPECT_EQ(frame.at(c.element), c.value) << "white point " << c.x << "," << c.y;
        int lit = 0;
        for (int i = 0; i < 38400; ++i) {
            lit += frame.at(i) != 0;
        }
        EXPECT_EQ(lit, 1) << "white point " << c.x << "," << c.y;
    }
}

TEST(DualScanPacker, EveryPixelOfAPatternedPictureReachesThePanel) {
    // An irregular pattern: any swap of bits, nibbles, lines or halves shows.
    auto isWhite = [](int x, int y) { return (x * 7 + y * 13 + (x * y) % 11) % 3 == 0; };
    FakePictureArea picture(640, 480, [&](float x, float y) {
        if (x < 0 || y < 0 || x >= 640 || y >= 480) {
            return kOutsideArea;
        }
        return isWhite(static_cast<int>(x), static_cast<int>(y)) ? kWhite : kBlack;
    });
    const FrameBuffer frame = convert(picture);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            ASSERT_EQ(litOnDualScanPanel(frame, x, y), isWhite(x, y)) << "pixel " << x << "," << y;
        }
    }
    EXPECT_EQ(picture.queries(), 310408) << "each point is a fresh query of the picture";
}

TEST(DualScanPacker, AllWhiteAndAllBlackFillTheFrameAroundTheOutsideByte) {
    const FrameBuffer white = convert(uniformPicture(kWhite));
    const FrameBuffer black = convert(uniformPicture(kBlack));
    for (int i = 0; i < 38400; ++i) {
        ASSERT_EQ(white.at(i), 255) << i;
        ASSERT_EQ(black.at(i), 0) << i;
    }
    EXPECT_EQ(white.at(38400), 0) << "packed from points beyond the right edge";
    EXPECT_EQ(black.at(38400), 0);
    for (int i = 38401; i < 72000; ++i) {
        ASSERT_EQ(white.at(i), 5) << i;
    }
}

TEST(DualScanPacker, LeavesTheLastElementAloneAndConvertsTheSameTwice) {
    FrameBuffer frame;
    frame.at(72000) = 77;
    frame.at(50000) = 1;
    const auto picture = pictureWithWhitePoints({{10, 10}, {600, 400}});
    const FrameBuffer once = convert(picture, frame);
    EXPECT_EQ(once.at(72000), 77);
    EXPECT_EQ(once.at(50000), 5);
    EXPECT_EQ(convert(picture, once), once);
}

TEST(DualScanPacker, OnlyNearWhiteColoursAreLit) {
    struct Case {
        ColourValue colour;
        int expectedByte;
    };
    for (const Case& c :
         {Case{16777000, 0}, Case{16777001, 255}, Case{16776960, 0}, Case{kWhite, 255},
          Case{kOutsideArea, 0}, Case{kBlack, 0}, Case{kWindowBackground, 0}}) {
        FakePictureArea picture(640, 480, [&](float, float) { return c.colour; });
        EXPECT_EQ(convert(picture).at(500), c.expectedByte) << "colour " << c.colour;
    }
}

TEST(DualScanPacker, LampIsRedAndRepaintedWhileBusyThenBackToTheWindowColour) {
    RecordingLamp lamp;
    FrameBuffer frame;
    convertDualScan(uniformPicture(kWhite), lamp, frame);
    const std::vector<std::string> expected = {"colour 255", "repaint",
                                               "colour " + std::to_string(kWindowBackground)};
    EXPECT_EQ(lamp.events, expected);
}

TEST(DualScanPacker, AFailingPictureLeavesTheFrameAsItWasAndTheLampOff) {
    FrameBuffer frame;
    frame.at(7) = 42;
    FakePictureArea failing(640, 480, [](float, float y) -> ColourValue {
        if (y > 100) {
            throw RuntimeError(ErrorKind::InvalidPicture, "the picture went away");
        }
        return kWhite;
    });
    RecordingLamp lamp;
    EXPECT_THROW(convertDualScan(failing, lamp, frame), RuntimeError);
    FrameBuffer unchanged;
    unchanged.at(7) = 42;
    EXPECT_EQ(frame, unchanged);
    EXPECT_EQ(lamp.events.back(), "colour " + std::to_string(kWindowBackground));
}

}  // namespace
}  // namespace dotwall::usb_tool

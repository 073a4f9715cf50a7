#include "single_scan_packer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "fake_picture_area.h"
#include "fake_text_box.h"
#include "lpt_picture_area.h"
#include "picture_surface.h"
#include "runtime_error.h"

namespace dotwall::port_tool {
namespace {

using testing::FakePictureArea;
using testing::FakeTextBox;

// Line 9 onwards is clear of the test mark.
constexpr int kUnmarkedLine = 9;

int frameByte(const FrameBuffer& frame, int line, int byteColumn) {
    return frame.at(160 * line + byteColumn);
}

FrameBuffer converted(const PictureArea& picture) {
    FakeTextBox text1("Text1");
    FrameBuffer frame;
    convertSingleScan(picture, text1, frame);
    return frame;
}

TEST(SingleScanPacker, AnAreaOf640By240UnitsIsSampledAtWholeColumnsAndLines) {
    std::vector<std::pair<float, float>> points;
    const FakePictureArea picture(640.0f, 240.0f, [&](float x, float y) {
        points.emplace_back(x, y);
        return kWhite;
    });
    converted(picture);

    ASSERT_EQ(points.size(), 241u * 640u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_EQ(points[i].first, static_cast<float>(i % 640)) << "sample " << i;
        ASSERT_EQ(points[i].second, static_cast<float>(i / 640)) << "sample " << i;
    }
}

TEST(SingleScanPacker, AnAreaOfZeroWidthSamplesEveryColumnAtXZero) {
    std::vector<float> xs;
    const FakePictureArea picture(0.0f, 240.0f, [&](float x, float y) {
        xs.push_back(x);
        return y < 100.0f ? kWhite : kBlack;
    });
    const FrameBuffer frame = converted(picture);

    EXPECT_EQ(std::count(xs.begin(), xs.end(), 0.0f), static_cast<long>(xs.size()));
    EXPECT_EQ(frameByte(frame, 99, 0), 15);
    EXPECT_EQ(frameByte(frame, 100, 0), 0);
}

// Four colours repeated across every byte: columns 4·g to 4·g + 3 show them in order.
FakePictureArea fourColours(std::vector<ColourValue> colours) {
    return FakePictureArea(640.0f, 240.0f, [colours](float x, float) {
        return colours[static_cast<std::size_t>(x) % 4];
    });
}

TEST(SingleScanPacker, APixelIsLitAboveColourValue128WithTheLeftmostInBit3) {
    struct Case {
        std::vector<ColourValue> colours;
        int byte;
    };
    const std::vector<Case> cases = {
        {{128, 129, 128, 128}, 4},
        {{kWhite, kBlack, kBlack, kWhite}, 9},
        {{kWhite, kWhite, kWhite, kWhite}, 15},
        {{kOutsideArea, kBlack, 128, kWhite}, 1},
        {{129, kOutsideArea, kOutsideArea, kOutsideArea}, 8},
        {{kWindowBackground, kBlack, kBlack, kBlack}, 0},  // a negative value is dark
    };
    for (const Case& c : cases) {
        const FrameBuffer frame = converted(fourColours(c.colours));
        EXPECT_EQ(frameByte(frame, kUnmarkedLine, 37), c.byte) << "byte " << c.byte;
    }
}

TEST(SingleScanPacker, FillsTheRestStampsTheMarkAndLeavesTheLastElement) {
    for (const ColourValue colour : {kWhite, kBlack}) {
        const FakePictureArea picture(640.0f, 240.0f, [=](float, float) { return colour; });
        FrameBuffer frame;
        for (std::ptrdiff_t i = 0; i <= FrameBuffer::kLastIndex; ++i) {
            frame.at(i) = 99;
        }
        FakeTextBox text1("Text1");
        convertSingleScan(picture, text1, frame);

        const int packed = colour == kWhite ? 15 : 0;
        const std::vector<int> mark = {5, 10, 5, 10, 5, 10, 5, 10, 5};
        for (int line = 0; line < 9; ++line) {
            EXPECT_EQ(frameByte(frame, line, 20), mark[line]) << "line " << line;
            EXPECT_EQ(frameByte(frame, line, 19), packed) << "line " << line;
            EXPECT_EQ(frameByte(frame, line, 21), packed) << "line " << line;
        }
        EXPECT_EQ(frameByte(frame, 9, 20), packed);
        EXPECT_EQ(frameByte(frame, 239, 159), packed);
        for (std::ptrdiff_t i = 38560; i <= 71999; ++i) {
            ASSERT_EQ(frame.at(i), 5) << "element " << i;
        }
        EXPECT_EQ(frame.at(72000), 99);
    }
}

TEST(SingleScanPacker, AppendsTheFirst201PackedBytesToText1BeforeTheMark) {
    // Byte g of every line packs to g % 16: its columns show the bits of that number. So the
    // dump shows 4 at indices 20 and 180, where the mark later puts 5 and 10.
    const FakePictureArea picture(640.0f, 240.0f, [](float x, float) {
        const int column = static_cast<int>(x);
        return ((column / 4) % 16 >> (3 - column % 4)) & 1 ? kWhite : kBlack;
    });
    std::string expected = "Text1";
    for (int i = 0; i < 201; ++i) {
        expected += "  " + std::to_string(i % 160 % 16);
    }

    FakeTextBox text1("Text1");
    FrameBuffer frame;
    convertSingleScan(picture, text1, frame);
    EXPECT_EQ(text1.text(), expected);
    EXPECT_EQ(text1.updates(), 201);

    const std::string afterOne = text1.text();
    convertSingleScan(picture, text1, frame);
    EXPECT_EQ(text1.text(), afterOne + expected.substr(5));
    EXPECT_EQ(text1.updates(), 402);
}

TEST(SingleScanPacker, AFloatingPointFaultInThePitchChangesNothing) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const std::vector<std::pair<float, float>> sizes = {{kNaN, 240.0f}, {640.0f, kInfinity}};
    for (const auto& [width, height] : sizes) {
        const FakePictureArea picture(width, height, [](float, float) { return kWhite; });
        FakeTextBox text1("Text1");
        FrameBuffer frame;
        frame.at(100) = 7;
        const FrameBuffer before = frame;
        try {
            convertSingleScan(picture, text1, frame);
            ADD_FAILURE() << "no fault for " << width << " x " << height;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::FloatingPointFault);
        }
        EXPECT_EQ(frame, before);
        EXPECT_EQ(text1.text(), "Text1");
        EXPECT_EQ(picture.queries(), 0);
    }
}

// DotwallLpt's picture area: 9650 x 3660 twips around a 640 x 240 pixel picture, with the
// picture's white paper beyond it. The grid pitch is 15.078125 twips across, 15.25 down.
TEST(SingleScanPacker, TheWindowsAreaSamplesWhitePaperBeyondThePictureAndNothingBelow) {
    PictureSurface picture(kLptPictureArea, kLptPictureBackground);
    QImage black(640, 240, QImage::Format_RGB32);
    black.fill(Qt::black);
    picture.setPicture(black);
    const FrameBuffer frame = converted(picture);

    // Column 636 samples picture pixel 639, column 637 pixel 640: the paper.
    EXPECT_EQ(frameByte(frame, kUnmarkedLine, 158), 0);
    EXPECT_EQ(frameByte(frame, kUnmarkedLine, 159), 0b0111);
    // Line 236 samples picture row 239, line 237 row 240; line 240 lies on the lower edge.
    EXPECT_EQ(frameByte(frame, 236, 0), 0);
    EXPECT_EQ(frameByte(frame, 236, 159), 0b0111);
    for (const int line : {237, 238, 239}) {
        EXPECT_EQ(frameByte(frame, line, 0), 15) << "line " << line;
        EXPECT_EQ(frameByte(frame, line, 159), 15) << "line " << line;
    }
    EXPECT_EQ(frameByte(frame, 240, 0), 0);
    EXPECT_EQ(frameByte(frame, 240, 159), 0);
}

}  // namespace
}  // namespace dotwall::port_tool

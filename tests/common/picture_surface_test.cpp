#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>

#include "picture_surface.h"

namespace dotwall {
namespace {

constexpr ColourValue kGrey = 0x808080;

QImage twoByTwo() {
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(0, 0, 0));
    image.setPixel(1, 1, qRgb(255, 255, 255));
    return image;
}

TEST(PictureSurface, AnswersThePicturesColoursInBlueGreenRedOrder) {
    PictureSurface surface({4.0f, 3.0f, AreaUnit::Pixel}, kGrey);
    surface.setPicture(twoByTwo());
    EXPECT_EQ(surface.pointColour(0, 0), 255);
    EXPECT_EQ(surface.pointColour(1, 0), 16711680);
    EXPECT_EQ(surface.pointColour(0, 1), kBlack);
    EXPECT_EQ(surface.pointColour(1, 1), kWhite);
}

TEST(PictureSurface, ShowsItsBackgroundWherethePictureDoesNotReach) {
    PictureSurface surface({4.0f, 3.0f, AreaUnit::Pixel}, kGrey);
    surface.setPicture(twoByTwo());
    EXPECT_EQ(surface.pointColour(2, 0), kGrey);
    EXPECT_EQ(surface.pointColour(3.5f, 2.9f), kGrey);
    EXPECT_EQ(surface.pointColour(0, 2), kGrey);
}

TEST(PictureSurface, PointsOutsideTheAreaAnswerMinusOne) {
    PictureSurface surface({4.0f, 3.0f, AreaUnit::Pixel}, kGrey);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto [x, y] : {std::pair{4.0f, 0.0f},
                        {0.0f, 3.0f},
                        {-0.01f, 0.0f},
                        {0.0f, -1.0f},
                        {nan, 0.0f},
                        {0.0f, nan},
                        {1e30f, 1e30f}}) {
        EXPECT_EQ(surface.pointColour(x, y), kOutsideArea) << x << ", " << y;
    }
}

TEST(PictureSurface, FractionalCoordinatesFallToThePixelBelowAndLeft) {
    PictureSurface surface({4.0f, 3.0f, AreaUnit::Pixel}, kGrey);
    surface.setPicture(twoByTwo());
    EXPECT_EQ(surface.pointColour(0.99f, 0.99f), 255);
    EXPECT_EQ(surface.pointColour(1.0f, 0.5f), 16711680);
}

TEST(PictureSurface, APictureLargerThanTheAreaIsCutAtItsEdges) {
    QImage large(6, 5, QImage::Format_RGB32);
    large.fill(qRgb(0, 0, 0));
    large.setPixel(3, 2, qRgb(255, 255, 255));
    large.setPixel(4, 2, qRgb(255, 0, 0));
    PictureSurface surface({4.0f, 3.0f, AreaUnit::Pixel}, kGrey);
    surface.setPicture(large);
    EXPECT_EQ(surface.pointColour(3, 2), kWhite);
    EXPECT_EQ(surface.pointColour(4, 2), kOutsideArea) << "beyond the area, not the picture";
    EXPECT_EQ(surface.shownImage().size(), QSize(4, 3));
}

TEST(PictureSurface, TwipsAreFifteenToAPixel) {
    // A 2 x 2 picture in an area of 40 x 45 twips, which spans 3 x 3 screen pixels.
    PictureSurface surface({40.0f, 45.0f, AreaUnit::Twip}, kGrey);
    surface.setPicture(twoByTwo());
    EXPECT_EQ(surface.areaWidth(), 40.0f);
    EXPECT_EQ(surface.pointColour(14.9f, 0), 255);
    EXPECT_EQ(surface.pointColour(15.0f, 0), 16711680);
    EXPECT_EQ(surface.pointColour(29.9f, 29.9f), kWhite);
    EXPECT_EQ(surface.pointColour(30.0f, 0), kGrey) << "third pixel column, beyond the picture";
    EXPECT_EQ(surface.pointColour(39.9f, 44.9f), kGrey);
    EXPECT_EQ(surface.pointColour(40.0f, 0), kOutsideArea);
    EXPECT_EQ(surface.shownImage().size(), QSize(3, 3));
}

TEST(PictureSurface, TransparentPartsOfAPictureShowTheBackground) {
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(1, 0, qRgba(0, 0, 0, 255));
    PictureSurface surface({2.0f, 1.0f, AreaUnit::Pixel}, kWhite);
    surface.setPicture(picture);
    EXPECT_EQ(surface.pointColour(0, 0), kWhite);
    EXPECT_EQ(surface.pointColour(1, 0), kBlack);
}

TEST(PictureSurface, ANewPictureReplacesTheOldOneAndANewBackgroundRepaintsAroundIt) {
    PictureSurface surface({4.0f, 3.0f, AreaUnit::Pixel}, kGrey);
    surface.setPicture(twoByTwo());
    QImage small(1, 1, QImage::Format_RGB32);
    small.fill(qRgb(0, 255, 0));
    surface.setPicture(small);
    EXPECT_EQ(surface.pointColour(0, 0), 0x00FF00);
    EXPECT_EQ(surface.pointColour(1, 1), kGrey) << "nothing of the old picture stays";
    surface.setBackground(kPureRed);
    EXPECT_EQ(surface.pointColour(1, 1), kPureRed);
    EXPECT_EQ(surface.pointColour(0, 0), 0x00FF00);
}

}  // namespace
}  // namespace dotwall

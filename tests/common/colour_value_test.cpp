#include <gtest/gtest.h>

#include <QPalette>

#include "colour_value.h"
#include "qt_colour.h"

namespace dotwall {
namespace {

TEST(ColourValue, QtColoursTurnIntoBlueGreenRedWithRedInTheLowByte) {
    EXPECT_EQ(colourFromQRgb(qRgb(255, 0, 0)), 255);
    EXPECT_EQ(colourFromQRgb(qRgb(0, 0, 255)), 16711680);
    EXPECT_EQ(colourFromQRgb(qRgb(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_EQ(colourFromQRgb(qRgba(255, 255, 255, 0)), kWhite) << "alpha is dropped";
    EXPECT_EQ(qRgbFromColour(0x563412), qRgb(0x12, 0x34, 0x56));
}

TEST(ColourValue, SystemColourReferencesResolveThroughThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    palette.setColor(QPalette::Window, QColor(7, 8, 9));

    EXPECT_EQ(kWindowBackground, static_cast<ColourValue>(0x80000005u));
    EXPECT_EQ(resolveColour(kWindowBackground, palette), colourFromRgb(1, 2, 3));
    EXPECT_EQ(resolveColour(systemColourReference(15), palette), colourFromRgb(4, 5, 6));
    EXPECT_EQ(resolveColour(systemColourReference(99), palette), colourFromRgb(7, 8, 9));
}

TEST(ColourValue, PlainColoursAndTheOutsideMarkAreNotSystemReferences) {
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    EXPECT_FALSE(isSystemColourReference(kOutsideArea));
    EXPECT_FALSE(isSystemColourReference(kWhite));
    EXPECT_EQ(resolveColour(kPureRed, palette), kPureRed);
    EXPECT_EQ(resolveColour(kOutsideArea, palette), kOutsideArea);
}

}  // namespace
}  // namespace dotwall

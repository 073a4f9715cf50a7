#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "picture_widget.h"
#include "qt_colour.h"

namespace dotwall {
namespace {

QImage redAndBlue() {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    return image;
}

TEST(PictureWidget, PaintsWhatItsPointQueryAnswers) {
    PictureWidget widget({6.0f, 4.0f, AreaUnit::Pixel}, kWindowBackground);
    widget.setPicture(redAndBlue());
    const QImage painted = widget.grab().toImage();
    ASSERT_EQ(painted.size(), QSize(6, 4));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(colourFromQRgb(painted.pixel(x, y)), widget.pointColour(x, y))
                << x << "," << y;
        }
    }
    EXPECT_EQ(widget.pointColour(0, 0), 255);
    EXPECT_EQ(widget.pointColour(1, 0), 16711680);
}

TEST(PictureWidget, TheWindowBackgroundFollowsThePalette) {
    PictureWidget widget({6.0f, 4.0f, AreaUnit::Pixel}, kWindowBackground);
    EXPECT_EQ(widget.pointColour(5, 3), resolveColour(kWindowBackground, widget.palette()));
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, QColor(10, 20, 30));
    widget.setPalette(palette);
    EXPECT_EQ(widget.pointColour(5, 3), colourFromRgb(10, 20, 30));
}

TEST(PictureWidget, ReportsMouseMovesInItsOwnUnit) {
    PictureWidget widget({9650.0f, 3660.0f, AreaUnit::Twip}, kWhite);
    EXPECT_EQ(widget.size(), QSize(643, 244));
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QSignalSpy moves(&widget, &PictureWidget::mouseMovedTo);
    QTest::mouseMove(&widget, QPoint(322, 122));
    ASSERT_FALSE(moves.isEmpty());
    EXPECT_EQ(moves.last().at(0).toFloat(), 322.0f * 15);
    EXPECT_EQ(moves.last().at(1).toFloat(), 122.0f * 15);
}

}  // namespace
}  // namespace dotwall

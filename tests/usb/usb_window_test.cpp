#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTest>

#include "dual_scan_packer.h"
#include "dual_scan_panel.h"
#include "qt_colour.h"
#include "usb_window_fixture.h"

namespace dotwall::usb_tool {
namespace {

using dotwall::testing::litOnDualScanPanel;
using dotwall::testing::readBytes;

// Records the lamp's colour each time it is painted.
class LampPaintWatcher final : public QObject {
  public:
    explicit LampPaintWatcher(ShapeWidget* lamp) : lamp_(lamp) { lamp->installEventFilter(this); }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            paintedColours.push_back(lamp_->backColour());
        }
        return false;
    }

    std::vector<ColourValue> paintedColours;

  private:
    ShapeWidget* lamp_;
};

using UsbWindow = dotwall::testing::UsbWindowTest;

TEST_F(UsbWindow, ConvertThenSaveWritesTheDefaultPictureAsTheDualScanFrame) {
    click("Command1");
    click("Command3");

    const QImage picture = QImage(":/dotwall_usb/default_picture.bmp");
    ASSERT_EQ(picture.size(), QSize(640, 480));
    const std::vector<unsigned char> file = readBytes(folder / "screen.bin");
    ASSERT_EQ(file.size(), 38402u);
    FrameBuffer saved;
    for (int i = 0; i < 38402; ++i) {
        saved.at(i) = file[static_cast<std::size_t>(i)];
    }
    int lit = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool white = colourFromQRgb(picture.pixel(x, y)) == kWhite;
            ASSERT_EQ(litOnDualScanPanel(saved, x, y), white) << "pixel " << x << "," << y;
            lit += white;
        }
    }
    EXPECT_GT(lit, 1000) << "the default picture is mostly white";
    EXPECT_LT(lit, 640 * 480 - 1000) << "and has black marks";
    EXPECT_EQ(file[38400], 0);
    EXPECT_EQ(file[38401], 5);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(UsbWindow, SaveBeforeConvertWritesZeros) {
    click("Command3");
    EXPECT_EQ(readBytes(folder / "screen.bin"), std::vector<unsigned char>(38402, 0));
}

TEST_F(UsbWindow, TheLampShowsRedWhileConvertingAndTheWindowColourAfterwards) {
    auto* lamp = control<ShapeWidget>("Shape1");
    EXPECT_EQ(lamp->backColour(), kWindowBackground);
    LampPaintWatcher watcher(lamp);
    click("Command1");
    ASSERT_FALSE(watcher.paintedColours.empty()) << "the lamp was not repainted at once";
    EXPECT_EQ(watcher.paintedColours.front(), kPureRed);
    EXPECT_EQ(lamp->backColour(), kWindowBackground);
}

TEST_F(UsbWindow, AFailedSaveIsReportedAndTheWindowGoesOn) {
    openWindow(folder.path());
    click("Command1");
    const FrameBuffer converted = window->frameBuffer();
    click("Command3");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Dotwall");
    EXPECT_NE(messages.messages[0].text.find(folder.path().string()), std::string::npos);
    EXPECT_NE(messages.messages[0].text.find("Is a directory"), std::string::npos);
    EXPECT_EQ(window->frameBuffer(), converted);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(UsbWindow, HasItsCaptionClientAreaAndControlsInPlace) {
    EXPECT_EQ(window->windowTitle(), "Dotwall");
    EXPECT_EQ(window->centralWidget()->size(), QSize(816, 528));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(control<QWidget>("Picture1")->geometry(), QRect(8, 9, 640, 480));
    EXPECT_EQ(control<QPushButton>("Command1")->geometry(), QRect(8, 496, 57, 25));
    EXPECT_EQ(control<QPushButton>("Command1")->text(), "Convert");
    EXPECT_EQ(control<QPushButton>("Command3")->text(), "Save");
    EXPECT_EQ(control<QWidget>("Shape1")->geometry(), QRect(472, 496, 25, 25));
    EXPECT_EQ(control<QWidget>("Shape1")->parentWidget()->objectName(), "Frame1");
    EXPECT_EQ(control<QWidget>("Frame1")->geometry(), QRect(0, 0, 657, 529));
}

}  // namespace
}  // namespace dotwall::usb_tool

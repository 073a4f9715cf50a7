// DotwallFrame usb against DotwallUsb's real window: File, Open, Convert, Save give the same
// file, and the preview of that file shows the window's picture in the panel's line order.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "frame_tool_run.h"
#include "picture_widget.h"
#include "usb_window_fixture.h"

namespace dotwall::testing {
namespace {

using Bytes = std::vector<unsigned char>;

// Colour gradients smaller than the 640 x 480 area, so both the dithering and the
// background beside and below the picture shape the frame; one with see-through parts,
// which count as white paper.
QImage gradient(int width, int height, bool seeThrough) {
    QImage picture(width, height, seeThrough ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int alpha = seeThrough ? 255 * (x + y) / (width + height) : 255;
            picture.setPixel(x, y, qRgba(255 * x / width, 255 * y / height, 90, alpha));
        }
    }
    return picture;
}

class FrameToolUsbWindow : public UsbWindowTest {
  protected:
    // File, Open with the picture, Convert, Save: the window's frame file.
    Bytes savedByTheWindow(const std::filesystem::path& picture) {
        chooser.answer = picture.string();
        QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
        click("Command1");
        click("Command3");
        EXPECT_TRUE(messages.messages.empty());
        return readBytes(folder / "screen.bin");
    }

    Bytes writtenByTheTool(const std::filesystem::path& picture) {
        const ProgramRun usb =
            runFrameTool(folder.path(), {"usb", picture.string(), "-o", "tool.bin"});
        EXPECT_EQ(usb.status, 0) << usb.err;
        return readBytes(folder / "tool.bin");
    }

    const QImage& shownByTheWindow() {
        return control<PictureWidget>("Picture1")->surface().shownImage();
    }
};

TEST_F(FrameToolUsbWindow, WritesTheSameFrameFileAsOpenConvertAndSave) {
    const auto plain = savePicture(gradient(600, 430, false), folder / "plain.png");
    const auto seeThrough = savePicture(gradient(500, 470, true), folder / "see-through.png");
    const auto bitmap = savePicture(gradient(639, 479, false), folder / "bitmap.bmp");
    for (const auto& picture : {plain, seeThrough, bitmap}) {
        const Bytes window = savedByTheWindow(picture);
        ASSERT_EQ(window.size(), 38402u);
        EXPECT_EQ(writtenByTheTool(picture), window) << picture;
    }
}

TEST_F(FrameToolUsbWindow, PreviewShowsTheWindowsPictureRowByRowInPanelOrder) {
    const auto picture = savePicture(gradient(600, 430, false), folder / "plain.png");
    savedByTheWindow(picture);
    const QImage shown = shownByTheWindow();
    ASSERT_EQ(shown.size(), QSize(640, 480));

    writtenByTheTool(picture);
    const ProgramRun preview =
        runFrameTool(folder.path(), {"preview", "tool.bin", "-o", "panel.png"});
    ASSERT_EQ(preview.status, 0) << preview.err;
    const QImage panel(QString::fromStdString((folder / "panel.png").string()));
    ASSERT_EQ(panel.size(), QSize(640, 480));

    // The window shows black and white only. Picture row r of each half travels on the
    // half's line (r + 239) mod 240: the frame starts one row down.
    int white = 0;
    for (int y = 0; y < 480; ++y) {
        const int half = y / 240;
        const int panelRow = 240 * half + (y % 240 + 239) % 240;
        for (int x = 0; x < 640; ++x) {
            const QRgb colour = shown.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(colour == 0 || colour == 0xFFFFFF) << x << "," << y;
            ASSERT_EQ(panel.pixel(x, panelRow) & 0xFFFFFF, colour) << x << "," << y;
            white += colour != 0;
        }
    }
    // Dithered within the picture, plain background around it.
    EXPECT_GT(white, 640 * 480 / 4);
    EXPECT_LT(white, 640 * 480 * 3 / 4);
}

}  // namespace
}  // namespace dotwall::testing

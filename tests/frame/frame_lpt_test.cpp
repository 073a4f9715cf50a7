// DotwallFrame lpt, stream and the preview of a single-scan frame, each checked against
// the picture through expectations worked out here in whole numbers.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "frame_tool_run.h"
#include "panel_model.h"
#include "temporary_folder.h"

namespace dotwall::testing {
namespace {

using Bytes = std::vector<unsigned char>;

// Colours either side of the lit threshold (colour value 128, 0x00BBGGRR). Packed as they
// are: a black-and-white conversion first would light dark red or darken the faint blue.
const QRgb kColours[] = {
    qRgb(0, 0, 0),        // 0, dark
    qRgb(255, 255, 255),  // lit
    qRgb(128, 0, 0),      // 128, dark
    qRgb(129, 0, 0),      // 129, lit
    qRgb(0, 0, 1),        // 65536, lit
    qRgb(0, 1, 0),        // 256, lit
};

QImage mixedPicture() {
    QImage picture(640, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 640; ++x) {
            picture.setPixel(x, y, kColours[(x * 7 + y * 13 + x * y) % 6]);
        }
    }
    return picture;
}

bool lit(QRgb colour) {
    return qRed(colour) + 256 * qGreen(colour) + 65536 * qBlue(colour) > 128;
}

// The area is 9650 x 3660 twips, 15 to a pixel; the grid spans it in 640 columns and 240
// line pitches, so column c samples pixel c·9650/640/15 = c·193/192 and line n pixel row
// n·3660/240/15 = n·61/60. Beyond the 640 x 240 picture lies white paper; line 240 lies on
// the area's lower edge, outside it, and stays dark.
bool expectedLit(const QImage& picture, int column, int line) {
    if (line == 240) {
        return false;
    }
    const int x = column * 193 / 192;
    const int y = line * 61 / 60;
    return x >= 640 || y >= 240 || lit(picture.pixel(x, y));
}

// 241 lines of 160 bytes, four pixels in the low nibble with the leftmost in bit 3, and the
// test mark: 0101 on even and 1010 on odd lines in byte column 20 of lines 0 to 8.
Bytes expectedLptFrame(const QImage& picture) {
    Bytes frame;
    for (int line = 0; line < 241; ++line) {
        for (int byteColumn = 0; byteColumn < 160; ++byteColumn) {
            int nibble = 0;
            for (int k = 0; k < 4; ++k) {
                nibble = 2 * nibble + (expectedLit(picture, 4 * byteColumn + k, line) ? 1 : 0);
            }
            if (byteColumn == 20 && line < 9) {
                nibble = line % 2 == 0 ? 0b0101 : 0b1010;
            }
            frame.push_back(static_cast<unsigned char>(nibble));
        }
    }
    return frame;
}

// What the panel shows for a single-scan frame: line n, pixel c from nibble c / 4.
PanelImage panelImageOf(const Bytes& frame) {
    PanelImage image;
    for (int line = 0; line < PanelImage::kRows; ++line) {
        for (int column = 0; column < PanelImage::kColumns; ++column) {
            image.at(column, line) = (frame[160 * line + column / 4] >> (3 - column % 4)) & 1;
        }
    }
    return image;
}

class FrameToolLpt : public ::testing::Test {
  protected:
    void SetUp() override {
        savePicture(picture, folder / "mixed.png");
        ASSERT_EQ(runFrameTool(folder.path(), {"lpt", "mixed.png", "-o", "frame.bin"}).status, 0);
        frame = readBytes(folder / "frame.bin");
    }

    TemporaryFolder folder;
    const QImage picture = mixedPicture();
    Bytes frame;
};

TEST_F(FrameToolLpt, PacksThePictureAsItIsOnTheScaledGridWithTheTestMark) {
    const Bytes expected = expectedLptFrame(picture);
    ASSERT_EQ(frame.size(), expected.size());
    for (std::size_t i = 0; i < frame.size(); ++i) {
        ASSERT_EQ(frame[i], expected[i]) << "line " << i / 160 << ", byte column " << i % 160;
    }
}

TEST_F(FrameToolLpt, StreamIsWholeFramesThatThePanelShowsAsTheLptFrame) {
    const ProgramRun stream =
        runFrameTool(folder.path(), {"stream", "mixed.png", "--frames", "3", "-o", "port.bin"});
    ASSERT_EQ(stream.status, 0) << stream.err;
    const Bytes port = readBytes(folder / "port.bin");
    ASSERT_EQ(port.size(), 3u * 77363u);

    PanelModel panel;
    for (const unsigned char byte : port) {
        panel.write(byte);
    }
    EXPECT_TRUE(panel.errors().empty()) << panel.errors().front();
    ASSERT_EQ(panel.frames().size(), 3u);
    const PanelImage expected = panelImageOf(frame);
    for (const PanelImage& shown : panel.frames()) {
        EXPECT_EQ(firstDifference(shown, expected), "");
    }
}

TEST_F(FrameToolLpt, PreviewDrawsEveryLineOfTheFrameLitPixelsWhite) {
    const ProgramRun preview =
        runFrameTool(folder.path(), {"preview", "frame.bin", "-o", "panel.png", "--scale", "3"});
    ASSERT_EQ(preview.status, 0) << preview.err;
    const QImage drawn(QString::fromStdString((folder / "panel.png").string()));
    ASSERT_EQ(drawn.size(), QSize(3 * 640, 3 * 241));

    const PanelImage expected = panelImageOf(frame);
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb colour = expected.at(x / 3, y / 3) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            ASSERT_EQ(drawn.pixel(x, y), colour) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace dotwall::testing

#include "frame_stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <vector>

#include "fake_text_box.h"
#include "lpt_picture_area.h"
#include "panel_model.h"
#include "picture_surface.h"
#include "qt_colour.h"
#include "runtime_error.h"
#include "single_scan_packer.h"

namespace dotwall::port_tool {
namespace {

using ::testing::ElementsAreArray;
using testing::PanelImage;
using testing::PanelModel;

class RecordingPortWriter final : public PortWriter {
  public:
    void write(std::uint8_t byte) override { bytes.push_back(byte); }
    std::vector<std::uint8_t> bytes;
};

// Streams whole frames until `frames` have been sent.
void streamFramesInto(const FrameBuffer& frame, PortWriter& port, int frames) {
    int sent = 0;
    streamFrames(frame, port, [&] { return ++sent == frames; });
}

std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& bytes, long from, long count) {
    return {bytes.begin() + from, bytes.begin() + from + count};
}

TEST(FrameStream, AnEmptyFrameClocksOutZeroNibblesWithTheControlSignals) {
    RecordingPortWriter port;
    streamFramesInto(FrameBuffer{}, port, 1);

    ASSERT_EQ(port.bytes.size(), 77363u);
    std::vector<std::uint8_t> line = {};
    for (int pair = 0; pair < 160; ++pair) {
        line.insert(line.end(), {64, 0});
    }
    line.push_back(16);
    EXPECT_THAT(slice(port.bytes, 0, 2), ElementsAreArray({48, 32}));
    EXPECT_THAT(slice(port.bytes, 2, 321), ElementsAreArray(line));
    EXPECT_THAT(slice(port.bytes, 2 + 321, 321), ElementsAreArray(line));
}

TEST(FrameStream, SendsEachFrameByteWithTheClockHighThenLowAndFramesFollowEachOther) {
    FrameBuffer frame;
    frame.at(0) = 9;
    frame.at(1) = 15;
    frame.at(159) = 1;
    frame.at(160) = 6;
    frame.at(38400) = 3;   // line 240, byte 0
    frame.at(38559) = 12;  // line 240, byte 159
    frame.at(38560) = 5;   // beyond the frame
    RecordingPortWriter port;
    streamFramesInto(frame, port, 2);

    ASSERT_EQ(port.bytes.size(), 2u * 77363u);
    EXPECT_THAT(slice(port.bytes, 0, 6), ElementsAreArray({48, 32, 73, 9, 79, 15}));
    // End of line 0, start of line 1.
    EXPECT_THAT(slice(port.bytes, 320, 5), ElementsAreArray({65, 1, 16, 70, 6}));
    // Line 240 (from write 2 + 240·321), then the next frame.
    const long line240 = 2 + 240 * 321;
    EXPECT_THAT(slice(port.bytes, line240, 2), ElementsAreArray({67, 3}));
    EXPECT_THAT(slice(port.bytes, 77363 - 3, 7), ElementsAreArray({76, 12, 16, 48, 32, 73, 9}));
    EXPECT_EQ(slice(port.bytes, 77363, 77363), slice(port.bytes, 0, 77363));
}

TEST(FrameStream, AsksToStopOnlyBetweenWholeFrames) {
    RecordingPortWriter port;
    std::vector<std::size_t> writesWhenAsked;
    streamFrames(FrameBuffer{}, port, [&] {
        writesWhenAsked.push_back(port.bytes.size());
        return writesWhenAsked.size() == 3;
    });
    EXPECT_THAT(writesWhenAsked, ElementsAreArray({77363u, 2 * 77363u, 3 * 77363u}));
}

TEST(FrameStream, AFrameByteTooLargeForTheClockIsAnOverflowAtItsWrite) {
    FrameBuffer frame;
    frame.at(161) = 191;  // 255 with the clock: still a byte
    frame.at(162) = 192;
    RecordingPortWriter port;
    try {
        streamFramesInto(frame, port, 1);
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Overflow);
        EXPECT_THAT(error.what(), ::testing::HasSubstr("element 162 holds 192"));
    }
    EXPECT_EQ(port.bytes.size(), 2u + 321u + 4u);
    EXPECT_EQ(port.bytes.back(), 191);
}

// What the panel should show for DotwallLpt's default picture in its 9650 x 3660 twip area:
// grid column c lies at c·965/64 twips, that is picture pixel c·193/192; grid line n at
// n·61/4 twips, picture row n·61/60. Beyond the picture the white paper shows, the last
// line lies outside the area, and lines 0 to 8 carry the mark in columns 80 to 83.
PanelImage expectedPanel(const QImage& picture) {
    PanelImage image;
    for (int row = 0; row < 240; ++row) {
        for (int column = 0; column < 640; ++column) {
            const int x = column * 193 / 192;
            const int y = row * 61 / 60;
            const bool onPicture = x < picture.width() && y < picture.height();
            image.at(column, row) = !onPicture || colourFromQRgb(picture.pixel(x, y)) > 128;
        }
    }
    for (int row = 0; row < 9; ++row) {
        for (int bit = 0; bit < 4; ++bit) {
            image.at(80 + bit, row) = (bit + row) % 2;
        }
    }
    return image;
}

TEST(FrameStream, ThePanelShowsTheConvertedDefaultPictureFrameAfterFrame) {
    const QImage picture(DEFAULT_PICTURE_PATH);
    ASSERT_EQ(picture.size(), QSize(640, 240));
    PictureSurface area(kLptPictureArea, kLptPictureBackground);
    area.setPicture(picture);
    testing::FakeTextBox text1("Text1");
    FrameBuffer frame;
    convertSingleScan(area, text1, frame);

    PanelModel panel;
    streamFramesInto(frame, panel, 2);

    EXPECT_THAT(panel.errors(), ::testing::IsEmpty());
    ASSERT_EQ(panel.frames().size(), 2u);
    const PanelImage expected = expectedPanel(picture);
    for (const PanelImage& shown : panel.frames()) {
        EXPECT_EQ(testing::firstDifference(shown, expected), "");
    }
}

// The panel model itself notices the faults a byte-by-byte comparison would share with
// the code under test.
TEST(PanelModel, NoticesAClockOnTheWrongPhaseAndALostNibble) {
    PanelModel swappedPhase;
    for (const std::uint8_t byte : {48, 32, 1, 65, 2, 66, 16}) {
        swappedPhase.write(byte);
    }
    EXPECT_THAT(swappedPhase.errors(),
                ::testing::Contains(::testing::HasSubstr("data changed while the clock fell")));

    PanelModel lostNibble;
    for (const std::uint8_t byte : {48, 32, 64, 0, 16}) {
        lostNibble.write(byte);
    }
    EXPECT_THAT(lostNibble.errors(), ElementsAreArray({"write 4: line 0 latched with 4 pixels"}));

    PanelModel badSignals;
    for (const std::uint8_t byte : {48, 32, 128, 80, 33}) {
        badSignals.write(byte);
    }
    EXPECT_THAT(badSignals.errors(),
                ::testing::IsSupersetOf({"write 2: D7 set in 128",
                                         "write 3: latch and clock together in 80",
                                         "write 4: frame marker in 33"}));
}

}  // namespace
}  // namespace dotwall::port_tool

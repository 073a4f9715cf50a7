// DotwallFrame lpt against DotwallLpt's real window: the same picture shown in the window's
// picture area and converted there gives the frame the tool writes.
#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "frame_tool_run.h"
#include "picture_loader.h"
#include "picture_widget.h"
#include "port_tool/form1.h"
#include "recording_message_sink.h"
#include "single_scan_layout.h"
#include "temporary_folder.h"
#include "window_test.h"

namespace dotwall::testing {
namespace {

// Colours on both sides of the lit threshold (128 is dark red, 129 already lit), in a
// picture smaller than 640 x 240 so the white beside and below it is sampled too.
QImage darkReds(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int red = 120 + (x * 7 + y * 3) % 16;
            picture.setPixel(x, y, (x / 50 + y / 40) % 3 == 0 ? qRgb(0, 0, 1) : qRgb(red, 0, 0));
        }
    }
    return picture;
}

class FrameToolLptWindow : public WindowTest<port_tool::Form1> {
  protected:
    TemporaryFolder folder;
    RecordingMessageSink messages;
};

TEST_F(FrameToolLptWindow, WritesTheFrameTheWindowConverts) {
    const auto picture = savePicture(darkReds(600, 200), folder / "reds.png");
    show(std::make_unique<port_tool::Form1>(
        port_tool::LptWindowServices{&messages, RECORDING_WINIO_PATH}));
    control<PictureWidget>("Picture1")
        ->setPicture(loadPicture(QString::fromStdString(picture.string())));
    click("Command1");
    ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text;

    const ProgramRun lpt = runFrameTool(folder.path(), {"lpt", picture.string(), "-o", "lpt.bin"});
    ASSERT_EQ(lpt.status, 0) << lpt.err;
    const std::vector<unsigned char> written = readBytes(folder / "lpt.bin");
    ASSERT_EQ(written.size(), static_cast<std::size_t>(port_tool::kFrameBytes));
    int lit = 0;
    for (std::size_t i = 0; i < written.size(); ++i) {
        ASSERT_EQ(written[i], window->frameBuffer().at(static_cast<std::ptrdiff_t>(i)))
            << "byte " << i;
        lit += written[i] != 0;
    }
    EXPECT_GT(lit, 1000) << "the picture lights part of the panel";
}

}  // namespace
}  // namespace dotwall::testing

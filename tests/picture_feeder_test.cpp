// play's worker between a source of timed pictures and the refresh thread, on a port that
// notes when each frame starts and the picture it shows: each picture's time counts from the
// stream's start, and a source that stalls once restarts the count instead of a burst.
#include <gtest/gtest.h>

#include <QImage>
#include <chrono>
#include <thread>

#include "frame_tool/picture_feeder.h"
#include "frames/panel_profile.h"
#include "port_stream/refresh_thread.h"

namespace dotwall::frame_tool {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kShownFor{150};
constexpr int kPictures = 5;
constexpr int kStallingPicture = 3;

// Pictures 1 to 5 of 4 x 1 pixels, lit as their number's bits, 150 ms each; the third takes
// 400 ms to come, as a slow decode.
class StallingSource : public PictureSource {
  public:
    std::optional<TimedPicture> next() override {
        if (++number_ > kPictures) {
            return std::nullopt;
        }
        if (number_ == kStallingPicture) {
            std::this_thread::sleep_for(milliseconds(400));
            stallEnded = Clock::now();
        }
        QImage picture(4, 1, QImage::Format_RGB32);
        for (int x = 0; x < 4; ++x) {
            picture.setPixel(x, 0, number_ >> (3 - x) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
        return TimedPicture{picture, kShownFor};
    }

    Clock::time_point stallEnded;

  private:
    int number_ = 0;
};

// Each frame's start (its first write, the frame marker with the latch) and its picture (the
// group it clocks in); the time of the 0 that ends the stream.
class FrameClock : public port_signals::PortWriter {
  public:
    void write(std::uint8_t byte) override {
        const std::size_t written = writes_++ % 5;
        if (byte == 0) {
            ended = Clock::now();
        } else if (written == 0) {
            starts.push_back(Clock::now());
        } else if (written == 2) {
            pictures.push_back(byte & 15);
        }
    }

    std::vector<Clock::time_point> starts;
    std::vector<int> pictures;
    Clock::time_point ended;

  private:
    std::size_t writes_ = 0;
};

TEST(PictureFeeder, EachPictureLastsItsTimeFromTheStreamsStartAndAStallRestartsTheCount) {
    const PanelProfile profile = parsePanelProfile(
        R"({"name": "4 x 1", "width": 4, "lines": 1, "data": [3, 2, 1, 0], "shift_clock": 6,
            "line_latch": 4, "frame_marker": 5, "frames_per_second": 200})",
        "test");
    auto source = std::make_unique<StallingSource>();
    const StallingSource& stalling = *source;
    PictureFeeder feeder(std::move(source), profile, {});
    PanelFrame first = feeder.firstFrame();
    std::this_thread::sleep_for(kShownFor);  // a driver slow to start
    FrameClock port;
    port_stream::RefreshThread refresh(port, [](std::exception_ptr) {});
    const Clock::time_point started = Clock::now();
    refresh.start(profile, std::move(first));
    feeder.start(refresh, false);
    refresh.join();
    feeder.close();

    // Every picture in order, none dropped, each first shown no sooner than its time allows.
    std::vector<Clock::time_point> firstShown;
    for (std::size_t frame = 0; frame < port.pictures.size(); ++frame) {
        if (frame == 0 || port.pictures[frame] != port.pictures[frame - 1]) {
            EXPECT_EQ(port.pictures[frame], static_cast<int>(firstShown.size()) + 1);
            firstShown.push_back(port.starts[frame]);
        }
    }
    ASSERT_EQ(firstShown.size(), std::size_t{kPictures});
    EXPECT_EQ(feeder.dropped(), 0);
    for (int picture = 1; picture < kPictures; ++picture) {
        EXPECT_GE(firstShown[picture], started + picture * kShownFor) << picture + 1;
    }
    EXPECT_GE(firstShown[kStallingPicture], stalling.stallEnded + kShownFor);
    // The stream ends once the last picture had its time: three since the stall.
    EXPECT_GE(port.ended, stalling.stallEnded + (kPictures - kStallingPicture + 1) * kShownFor);
}

}  // namespace
}  // namespace dotwall::frame_tool

// How evenly DotwallLpt's refresh paces the panel's lines while the window is kept busy
// (mouse moves over the picture, a large picture loaded and converted over and over): the
// refresh thread on DotwallLpt's panel, with and without its pause after each line, beside
// the stream taking the window's events between frames; then a 640 x 240 panel wired alike
// whose profile sets 10 frames a second, in black and white and in 4 greys. Every run goes through
// the real port binding into the virtual port library paced like a real port (1 µs a write) and
// times each line latch. Prints, per run, the frames per second reached, the line period's median,
// 99th percentile and maximum, and the longest gap at a frame boundary, in line periods. Usage:
// refresh_pace_bench [SECONDS_PER_RUN] [SECONDS_OF_THE_SET_RATE]
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/busy_window.h"
#include "frames/panel_profile.h"
#include "frames/port_signals.h"
#include "port_stream/port_binding.h"
#include "port_stream/refresh_thread.h"

namespace {

using namespace dotwall;
using Clock = std::chrono::steady_clock;

// The port, with the time of every line's latch (just before it is written) noted in memory
// filled beforehand: a page
// first touched while streaming would wait for the window thread's memory map lock, and
// the benchmark would time itself.
class LatchTimes final : public port_signals::PortWriter {
  public:
    explicit LatchTimes(port_stream::PortBinding& port) : port_(port), times_(1 << 21) {}
    void write(std::uint8_t byte) override { port_.write(byte); }
    void beforeLatch() override {
        if (latches_ < times_.size()) {
            times_[latches_++] = Clock::now();
        }
    }
    std::vector<Clock::time_point> times() const {
        return {times_.begin(), times_.begin() + static_cast<std::ptrdiff_t>(latches_)};
    }

  private:
    port_stream::PortBinding& port_;
    std::vector<Clock::time_point> times_;
    std::size_t latches_ = 0;
};

struct Pace {
    double medianUs = 0;
    double p99Us = 0;
    double maxUs = 0;
    double longestFrameGapLines = 0;
    std::size_t frames = 0;
    double framesPerSecond = 0;  // from the first line's end to the last's
    std::size_t lines = 0;
    std::size_t linesOverOneAndAHalf = 0;  // lines longer than 1.5 times the median
};

// Line periods from the latch times; a frame's first line also carries the frame's start.
Pace paceOf(const std::vector<Clock::time_point>& latches, std::size_t lines) {
    std::vector<double> periods;
    std::vector<double> frameStarts;
    for (std::size_t i = 1; i < latches.size(); ++i) {
        const double us =
            std::chrono::duration<double, std::micro>(latches[i] - latches[i - 1]).count();
        periods.push_back(us);
        if (i % lines == 0) {
            frameStarts.push_back(us);
        }
    }
    Pace pace;
    if (periods.empty()) {
        return pace;
    }
    std::vector<double> sorted = periods;
    std::sort(sorted.begin(), sorted.end());
    pace.medianUs = sorted[sorted.size() / 2];
    pace.p99Us = sorted[sorted.size() * 99 / 100];
    pace.maxUs = sorted.back();
    pace.lines = sorted.size();
    pace.linesOverOneAndAHalf = static_cast<std::size_t>(
        sorted.end() - std::upper_bound(sorted.begin(), sorted.end(), 1.5 * pace.medianUs));
    pace.longestFrameGapLines =
        frameStarts.empty()
            ? 0
            : *std::max_element(frameStarts.begin(), frameStarts.end()) / pace.medianUs;
    pace.frames = latches.size() / lines;
    pace.framesPerSecond = static_cast<double>(periods.size()) / static_cast<double>(lines) /
                           std::chrono::duration<double>(latches.back() - latches.front()).count();
    return pace;
}

void print(const char* run, const Pace& pace) {
    std::printf(
        "%-44s %6zu frames %7.3f frames/s  line median %7.1f us  p99 %7.1f us (%5.3f x)  max "
        "%9.1f us (%6.2f x), %zu of %zu lines over 1.5 x  longest frame gap %6.1f lines\n",
        run, pace.frames, pace.framesPerSecond, pace.medianUs, pace.p99Us,
        pace.p99Us / pace.medianUs, pace.maxUs, pace.maxUs / pace.medianUs,
        pace.linesOverOneAndAHalf, pace.lines, pace.longestFrameGapLines);
    std::fflush(stdout);
}

void waitWithEvents(double seconds) {
    QTest::qWait(static_cast<int>(seconds * 1000));
}

Pace streamOnThread(port_stream::PortBinding& port, const PanelProfile& profile, bool pause,
                    bench::BusyWindow* busy, double seconds) {
    LatchTimes timed(port);
    port_stream::RefreshThread refresh(
        timed, [](std::exception_ptr) {},
        {.pauseAfterLines = pause, .rateUnreachable = [](const std::string& what) {
             std::printf("  (%s)\n", what.c_str());
         }});
    // Groups 0101 in black and white, or every pixel at level 1.
    const std::uint8_t value = profile.greyLevels > 2 ? 1 : 5;
    const port_stream::RealTimeGrant grant =
        refresh.start(profile, {profile.size(), profile.greyLevels,
                                std::vector<std::uint8_t>(profile.frameBytes(), value)});
    if (!grant.refused.empty()) {
        std::printf("  (%s)\n", grant.refused.c_str());
    }
    if (busy != nullptr) {
        busy->start();
    }
    waitWithEvents(seconds);
    if (busy != nullptr) {
        busy->stop();
    }
    refresh.requestStop();
    refresh.join();
    return paceOf(timed.times(), static_cast<std::size_t>(profile.lines));
}

Pace streamWithEventsBetweenFrames(port_stream::PortBinding& port, bench::BusyWindow& busy,
                                   double seconds) {
    const PanelProfile profile = dotwallLptProfile();
    LatchTimes timed(port);
    port_signals::FrameEncoder encoder(profile);
    busy.start();
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    port_signals::streamFrames(
        encoder,
        FrameCycle::of({profile.size(), 2, std::vector<std::uint8_t>(profile.frameBytes(), 5)}),
        timed, [&] {
            QCoreApplication::processEvents();
            return Clock::now() >= end;
        });
    busy.stop();
    return paceOf(timed.times(), static_cast<std::size_t>(profile.lines));
}

// A 640 x 240 panel wired as DotwallLpt's, its lines at a set rate.
PanelProfile steadyPanel(double framesPerSecond, int greyLevels = 2) {
    PanelProfile profile = dotwallLptProfile();
    profile.name = "640 x 240 at a steady rate";
    profile.lines = 240;
    profile.sampling = PictureSampling::PixelForPixel;
    profile.framesPerSecond = framesPerSecond;
    profile.greyLevels = greyLevels;
    return profile;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("DOTWALL_VIRTUAL_PORT_NS")) {
        qputenv("DOTWALL_VIRTUAL_PORT_NS", "1000");
    }
    QApplication application(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 4.0;
    const double rateSeconds = argc > 2 ? std::atof(argv[2]) : 10.0;

    bench::BusyWindow busy(VIRTUAL_WINIO_PATH);
    if (!busy.started()) {
        return 1;
    }
    port_stream::PortBinding port(VIRTUAL_WINIO_PATH);
    port.start();
    const PanelProfile described = dotwallLptProfile();

    print("refresh thread, window idle", streamOnThread(port, described, true, nullptr, seconds));
    print("refresh thread, window busy", streamOnThread(port, described, true, &busy, seconds));
    print("refresh thread without pauses, window busy",
          streamOnThread(port, described, false, &busy, seconds));
    print("events between frames, window busy", streamWithEventsBetweenFrames(port, busy, seconds));
    print("640 x 240 at 10 frames/s, window idle",
          streamOnThread(port, steadyPanel(10), true, nullptr, rateSeconds));
    print("640 x 240 at 10 frames/s, window busy",
          streamOnThread(port, steadyPanel(10), true, &busy, rateSeconds));
    print("640 x 240, 4 greys, 10 frames/s, window busy",
          streamOnThread(port, steadyPanel(10, 4), true, &busy, rateSeconds));
    port.stop();
    return 0;
}

// How evenly DotwallLpt's refresh paces the panel's lines while the window is kept busy
// (mouse moves over the picture, a large picture loaded and converted over and over): the
// refresh thread, with and without its pause after each line, beside the stream taking the
// window's events between frames. Every run goes through the real port binding into the
// virtual port library paced like a real port (1 µs a write) and times each line latch.
// Prints, per run, the line period's median, 99th percentile and maximum, and the longest
// gap at a frame boundary, in line periods. Usage: refresh_pace_bench [SECONDS_PER_RUN]
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/busy_window.h"
#include "frames/port_signals.h"
#include "lpt_port/module1.h"
#include "lpt_port/refresh_thread.h"

namespace {

using namespace dotwall;
using Clock = std::chrono::steady_clock;

// The port, with the time of every line latch noted in memory filled beforehand: a page
// first touched while streaming would wait for the window thread's memory map lock, and
// the benchmark would time itself.
class LatchTimes final : public port_signals::PortWriter {
  public:
    explicit LatchTimes(lpt_port::Module1& port) : port_(port), times_(1 << 20) {}
    void write(std::uint8_t byte) override {
        port_.write(byte);
        if (byte == port_signals::kLineLatch && latches_ < times_.size()) {
            times_[latches_++] = Clock::now();
        }
    }
    std::vector<Clock::time_point> times() const {
        return {times_.begin(), times_.begin() + static_cast<std::ptrdiff_t>(latches_)};
    }

  private:
    lpt_port::Module1& port_;
    std::vector<Clock::time_point> times_;
    std::size_t latches_ = 0;
};

struct Pace {
    double medianUs = 0;
    double p99Us = 0;
    double maxUs = 0;
    double longestFrameGapLines = 0;
    std::size_t frames = 0;
};

// Line periods from the latch times; a frame's first line also carries the frame's start.
Pace paceOf(const std::vector<Clock::time_point>& latches) {
    constexpr std::size_t kLines = 241;
    std::vector<double> periods;
    std::vector<double> frameStarts;
    for (std::size_t i = 1; i < latches.size(); ++i) {
        const double us =
            std::chrono::duration<double, std::micro>(latches[i] - latches[i - 1]).count();
        periods.push_back(us);
        if (i % kLines == 0) {
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
    pace.longestFrameGapLines =
        frameStarts.empty()
            ? 0
            : *std::max_element(frameStarts.begin(), frameStarts.end()) / pace.medianUs;
    pace.frames = latches.size() / kLines;
    return pace;
}

void print(const char* run, const Pace& pace) {
    std::printf(
        "%-44s %6zu frames  line median %7.1f us  p99 %7.1f us  max %9.1f us (%6.1f x)"
        "  longest frame gap %6.1f lines\n",
        run, pace.frames, pace.medianUs, pace.p99Us, pace.maxUs, pace.maxUs / pace.medianUs,
        pace.longestFrameGapLines);
    std::fflush(stdout);
}

void waitWithEvents(double seconds) {
    QTest::qWait(static_cast<int>(seconds * 1000));
}

Pace streamOnThread(lpt_port::Module1& port, const FrameBuffer& frame, bool pause,
                    bench::BusyWindow* busy, double seconds) {
    LatchTimes timed(port);
    lpt_port::RefreshThread refresh(timed, [](std::exception_ptr) {}, {.pauseAfterLines = pause});
    const lpt_port::RealTimeGrant grant = refresh.start(frame);
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
    return paceOf(timed.times());
}

Pace streamWithEventsBetweenFrames(lpt_port::Module1& port, const FrameBuffer& frame,
                                   bench::BusyWindow& busy, double seconds) {
    LatchTimes timed(port);
    busy.start();
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    port_signals::streamFrames(frame, timed, [&] {
        QCoreApplication::processEvents();
        return Clock::now() >= end;
    });
    busy.stop();
    return paceOf(timed.times());
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("DOTWALL_VIRTUAL_PORT_NS")) {
        qputenv("DOTWALL_VIRTUAL_PORT_NS", "1000");
    }
    QApplication application(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 4.0;

    bench::BusyWindow busy(VIRTUAL_WINIO_PATH);
    if (!busy.started()) {
        return 1;
    }
    lpt_port::Module1 port(VIRTUAL_WINIO_PATH);
    port.start();
    FrameBuffer frame;
    frame.preFill();

    print("refresh thread, window idle", streamOnThread(port, frame, true, nullptr, seconds));
    print("refresh thread, window busy", streamOnThread(port, frame, true, &busy, seconds));
    print("refresh thread without pauses, window busy",
          streamOnThread(port, frame, false, &busy, seconds));
    print("events between frames, window busy",
          streamWithEventsBetweenFrames(port, frame, busy, seconds));
    port.stop();
    return 0;
}

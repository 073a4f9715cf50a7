#include "port_stream/line_pacer.h"

#include <sys/prctl.h>
#include <time.h>

#include <cstdio>
#include <utility>

namespace dotwall::port_stream {

namespace {

// The share of the processor time each line took that the thread spends paused after it:
// more than the 5% of every second the kernel keeps from real-time threads by default.
constexpr int kLineTimePerPause = 16;
// A pause owed that is shorter waits for the next lines': a sleep costs a few microseconds
// of its own.
constexpr std::chrono::microseconds kShortestPause{10};
// The end of a line's period is waited out on the clock for this long, since a sleep may
// wake that much late; less time left is not slept at all.
constexpr std::chrono::microseconds kWaitedOut{50};

std::chrono::nanoseconds threadProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

}  // namespace

LinePacer::LinePacer(port_signals::PortWriter& port, StreamStop& stop, bool pauseForRealTime,
                     std::chrono::nanoseconds linePeriod, int linesPerFrame,
                     RateUnreachable rateUnreachable)
    : port_(port),
      stop_(stop),
      pauseForRealTime_(pauseForRealTime),
      period_(linePeriod),
      linesPerFrame_(linesPerFrame),
      rateUnreachable_(std::move(rateUnreachable)),
      lineStart_(threadProcessorTime()) {
    if (period_.count() > 0) {
        // The sleeps end when they are due, not up to 50 µs later as for other threads.
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
}

void LinePacer::beforeLatch() {
    const std::chrono::nanoseconds processor = threadProcessorTime();
    if (pauseForRealTime_) {
        owed_ += (processor - lineStart_) / kLineTimePerPause;
    }
    if (period_.count() > 0) {
        keepPeriod();
    } else if (owed_ >= kShortestPause) {
        sleepUntil(Clock::now() + owed_);
    }
    lineStart_ = threadProcessorTime();
    port_.beforeLatch();
}

void LinePacer::keepPeriod() {
    deadline_ += period_;
    const Clock::time_point now = Clock::now();
    if (now > deadline_) {
        ++lateLines_;
        if (now - deadline_ > period_) {
            deadline_ = now;
        }
    } else {
        // The pause owed comes out of the time left; what it does not fit makes the line late.
        const Clock::time_point owedUntil =
            owed_ >= kShortestPause ? now + owed_ : Clock::time_point::min();
        sleepUntil(std::max(deadline_ - kWaitedOut, owedUntil));
        stop_.throwIfAtOnce();
        while (Clock::now() < deadline_) {
        }
    }
    if (++lineInFrame_ == linesPerFrame_) {
        if (lateLines_ > linesPerFrame_ / 2 && !std::exchange(unreachableTold_, true)) {
            char what[200];
            std::snprintf(what, sizeof what,
                          "The port does not reach the panel's line period of %.1f µs: %d of "
                          "%d lines came late, so the stream runs as fast as it can.",
                          static_cast<double>(period_.count()) / 1000, lateLines_, linesPerFrame_);
            rateUnreachable_(what);
        }
        lineInFrame_ = 0;
        lateLines_ = 0;
    }
}

// Sleeps until `wakeAt` when that is in the future; the sleep pays the pause owed.
void LinePacer::sleepUntil(Clock::time_point wakeAt) {
    const Clock::time_point before = Clock::now();
    if (wakeAt <= before) {
        return;
    }
    stop_.sleepUntil(wakeAt);
    owed_ -= std::min<std::chrono::nanoseconds>(owed_, Clock::now() - before);
}

}  // namespace dotwall::port_stream

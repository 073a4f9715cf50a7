#pragma once

#include <chrono>

namespace dotwall::ports::virtual_panel {

// About what one write to a real parallel port takes, so a stream reaches the frame rate a
// real panel gets.
inline constexpr std::chrono::nanoseconds kRealPortWrite{1000};

// Spaces writes `perWrite` apart on average, as a real port's bus does, by spinning on the
// steady clock: a sleep would take tens of microseconds. A write that comes late (the
// window took its events between frames) goes at once, and the ones after it are spaced
// from it, not hurried to catch up, so that n writes always take at least n - 1 paces.
// 0 spaces nothing.
class WritePacing {
  public:
    explicit WritePacing(std::chrono::nanoseconds perWrite) : perWrite_(perWrite) {}

    void waitForTurn() {
        if (perWrite_.count() == 0) {
            return;
        }
        auto now = Clock::now();
        while (now < due_) {
            now = Clock::now();
        }
        // On time, the next write keeps the schedule; late by more than a write, the
        // schedule starts again from this one.
        due_ = (now - due_ > perWrite_ ? now : due_) + perWrite_;
    }

  private:
    using Clock = std::chrono::steady_clock;

    std::chrono::nanoseconds perWrite_;
    Clock::time_point due_{};
};

// The longest a frame may take: a stop (SIGINT to play, Stop in DotwallLpt) waits for the
// frame being sent to end.
inline constexpr std::chrono::nanoseconds kLongestFrame{5'000'000'000};

// The pace of a frame of `writesPerFrame` writes when none is set: a real port's, or for a
// panel so large that this would make a frame last longer than kLongestFrame, the pace that
// makes it last kLongestFrame.
std::chrono::nanoseconds defaultPacing(long writesPerFrame);

// DOTWALL_VIRTUAL_PORT_NS, a whole number of nanoseconds per write from 0 (as fast as
// possible) up to what makes a frame of `writesPerFrame` writes last kLongestFrame; the
// default pace when unset. Any other value is reported on standard error and the default pace
// taken instead.
std::chrono::nanoseconds pacingFromEnvironment(long writesPerFrame);

}  // namespace dotwall::ports::virtual_panel

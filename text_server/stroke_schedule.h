#pragma once

#include <chrono>

namespace dotwall::text_server {

// When the screens are drawn: a stroke each period on a steady schedule. A stroke more than a
// whole period late starts the schedule again from now, so a server that was held up draws
// once and goes on, with no burst of strokes to catch up.
class StrokeSchedule {
  public:
    using Clock = std::chrono::steady_clock;

    StrokeSchedule(Clock::duration period, Clock::time_point first)
        : period_(period), due_(first) {}

    Clock::time_point due() const { return due_; }
    // A stroke was drawn at `now`.
    void advance(Clock::time_point now) {
        due_ += period_;
        if (due_ <= now) {
            due_ = now + period_;
        }
    }

  private:
    Clock::duration period_;
    Clock::time_point due_;
};

}  // namespace dotwall::text_server

#pragma once

#include <chrono>

namespace dotwall::text_server {

// When the screens are drawn: 8 strokes a second on a steady schedule. A stroke more than a
// whole period late starts the schedule again from now, so a server that was held up draws
// once and goes on, with no burst of strokes to catch up.
class StrokeSchedule {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kPeriod = std::chrono::milliseconds(125);

    explicit StrokeSchedule(Clock::time_point first) : due_(first) {}

    Clock::time_point due() const { return due_; }
    // A stroke was drawn at `now`.
    void advance(Clock::time_point now) {
        due_ += kPeriod;
        if (due_ <= now) {
            due_ = now + kPeriod;
        }
    }

  private:
    Clock::time_point due_;
};

}  // namespace dotwall::text_server

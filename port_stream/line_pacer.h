#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "frames/port_signals.h"
#include "port_stream/stream_stop.h"

namespace dotwall::port_stream {

// Passes every byte on to the port and, before each line's latch, paces the stream:
//
// - With a line period (a profile's frames per second), each line's latch comes at its own
//   deadline, start + n periods on the monotonic clock, as a panel controller in hardware
//   gives every line the same time, however long the line's writes took. The time left is slept
//   away where that is long enough, the last of it waited out on the clock for a precise end. A
//   late line is made up by the next; one more than a whole period late starts the schedule again
//   from now, so lateness never accumulates. When most lines of a frame come late, the port cannot
//   reach the rate: that is told once, and the stream runs as fast as it can.
// - With real-time priority it keeps the thread clear of the kernel's limit on real-time
//   threads (5% of every second kept from them by default): it sleeps for a sixteenth of the
//   processor time each line took, out of the time left before the deadline where there is
//   one. A port
//   written by a spinning port instruction, at about 1 µs a byte, thus gets the same short
//   pause after every line, which the panel does not show; a port that makes the thread wait
//   (a USB adapter) needs almost none.
// A stop at once cuts its pause short and raises StreamStop::CutShort at the next write.
class LinePacer final : public port_signals::PortWriter {
  public:
    using Clock = std::chrono::steady_clock;
    // Called once, on the streaming thread, when the port cannot reach the line period.
    using RateUnreachable = std::function<void(const std::string& what)>;

    LinePacer(port_signals::PortWriter& port, StreamStop& stop, bool pauseForRealTime,
              std::chrono::nanoseconds linePeriod, int linesPerFrame,
              RateUnreachable rateUnreachable);

    void write(std::uint8_t byte) override {
        stop_.throwIfAtOnce();
        port_.write(byte);
    }
    void beforeLatch() override;

  private:
    void keepPeriod();
    void sleepUntil(Clock::time_point wakeAt);

    port_signals::PortWriter& port_;
    StreamStop& stop_;
    bool pauseForRealTime_;
    std::chrono::nanoseconds period_;
    int linesPerFrame_;
    RateUnreachable rateUnreachable_;
    Clock::time_point deadline_ = Clock::now();
    int lateLines_ = 0;  // in the frame so far
    int lineInFrame_ = 0;
    bool unreachableTold_ = false;
    std::chrono::nanoseconds lineStart_;  // the thread's processor time when the line began
    std::chrono::nanoseconds owed_{};     // pause owed to the kernel's real-time limit
};

}  // namespace dotwall::port_stream

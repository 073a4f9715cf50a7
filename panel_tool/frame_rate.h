#pragma once

#include <cstdint>

namespace dotwall::panel_tool {

// Frames per second from the publisher's own frame numbers and times, measured over about
// a second, so that neither the viewer's timer nor the frames it skips change the figure.
class FrameRate {
  public:
    static constexpr std::int64_t kSecond = 1'000'000'000;  // ns

    // A frame the viewer received; numbers start again at 1 with a new stream.
    void frameArrived(std::uint64_t number, std::int64_t takenAt);
    // The rate at `now` (ns on the same clock): 0 when no frame came in the last second.
    double perSecond(std::int64_t now) const;

  private:
    std::uint64_t firstNumber_ = 0;  // the frame that opened the measurement; 0: none yet
    std::int64_t firstTakenAt_ = 0;
    std::int64_t lastTakenAt_ = 0;
    double perSecond_ = 0;
};

}  // namespace dotwall::panel_tool

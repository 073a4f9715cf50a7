#pragma once

#include <cstdint>

namespace dotwall::panel_link {

// Frames per second from the frames' own numbers and times, measured over about a second, so
// that neither a viewer's timer nor the frames it skips change the figure.
class FrameRate {
  public:
    static constexpr std::int64_t kSecond = 1'000'000'000;  // ns

    // A frame taken; numbers start again at 1 with a new stream.
    void frameArrived(std::uint64_t number, std::int64_t takenAt);
    // The rate measured; 0 until two frames of one stream came.
    double perSecond() const { return perSecond_; }

  private:
    std::uint64_t firstNumber_ = 0;  // the frame that opened the measurement; 0: none yet
    std::int64_t firstTakenAt_ = 0;
    double perSecond_ = 0;
};

}  // namespace dotwall::panel_link

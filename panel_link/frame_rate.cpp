#include "panel_link/frame_rate.h"

namespace dotwall::panel_link {

void FrameRate::frameArrived(std::uint64_t number, std::int64_t takenAt) {
    if (firstNumber_ == 0 || number <= firstNumber_ || takenAt < firstTakenAt_) {
        firstNumber_ = number;
        firstTakenAt_ = takenAt;
        perSecond_ = 0;
        return;
    }
    const std::int64_t span = takenAt - firstTakenAt_;
    if (perSecond_ == 0 || span >= kSecond) {
        perSecond_ = static_cast<double>(number - firstNumber_) * kSecond /
                     static_cast<double>(span > 0 ? span : 1);
    }
    if (span >= kSecond) {
        firstNumber_ = number;
        firstTakenAt_ = takenAt;
    }
}

}  // namespace dotwall::panel_link

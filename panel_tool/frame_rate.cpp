#include "panel_tool/frame_rate.h"

namespace dotwall::panel_tool {

void FrameRate::frameArrived(std::uint64_t number, std::int64_t takenAt) {
    lastTakenAt_ = takenAt;
    if (firstNumber_ == 0 || number <= firstNumber_) {
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

double FrameRate::perSecond(std::int64_t now) const {
    return now - lastTakenAt_ > kSecond ? 0 : perSecond_;
}

}  // namespace dotwall::panel_tool

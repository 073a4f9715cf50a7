#include "text_screens/widget_motion.h"

#include <algorithm>

namespace dotwall::text_screens {

int bouncingOffset(std::uint64_t stroke, int positions, int speed) {
    if (positions <= 1 || speed == 0) {
        return 0;
    }
    const std::uint64_t step = speed > 0 ? static_cast<std::uint64_t>(speed)
                                         : static_cast<std::uint64_t>(-std::int64_t{speed});
    if (speed > 0) {
        // One way in positions * speed strokes, then back.
        const std::uint64_t half = positions * step;
        const std::uint64_t into = stroke % half;
        const bool back = (stroke / half) % 2 == 1;
        return static_cast<int>((back ? half - 1 - into : into) / step);
    }
    const std::uint64_t half = std::max<std::uint64_t>(1, positions / step);
    const std::uint64_t into = (stroke % half) * step;
    const bool back = (stroke / half) % 2 == 1;
    const std::int64_t offset = back ? std::int64_t{positions} - 1 - static_cast<std::int64_t>(into)
                                     : static_cast<std::int64_t>(into);
    return static_cast<int>(std::clamp<std::int64_t>(offset, 0, positions - 1));
}

int cyclingOffset(std::uint64_t stroke, int positions, int speed) {
    if (positions <= 1 || speed == 0) {
        return 0;
    }
    const std::uint64_t steps = speed > 0
                                    ? stroke / static_cast<std::uint64_t>(speed)
                                    : stroke * static_cast<std::uint64_t>(-std::int64_t{speed});
    return static_cast<int>(steps % static_cast<std::uint64_t>(positions));
}

int titleOffset(std::uint64_t stroke, int overhang) {
    constexpr int kRest = 15;
    if (overhang <= 0) {
        return 0;
    }
    const std::uint64_t cycle = 2 * static_cast<std::uint64_t>(overhang + kRest - 1);
    const auto into = static_cast<std::int64_t>(stroke % cycle);
    if (into < kRest) {
        return 0;
    }
    if (into < kRest + overhang - 1) {
        return static_cast<int>(into - (kRest - 1));
    }
    if (into < 2 * kRest + overhang - 1) {
        return overhang;
    }
    return static_cast<int>(static_cast<std::int64_t>(cycle) - into);
}

}  // namespace dotwall::text_screens

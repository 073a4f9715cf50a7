#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "frames/panel_picture.h"
#include "frames/port_signals.h"

// The virtual panel: the virtual port library publishes what its stream decoder rebuilds
// into a shared memory object of this user, and DotwallPanel reads it from there.
namespace dotwall::panel_link {

// The object's name: "/dotwall-panel-<user id>", or "/dotwall-panel-<user id>-<NAME>" when
// DOTWALL_VIRTUAL_PANEL=NAME asks for a panel of its own (up to 64 letters, digits, '-' or
// '_'). Raises RuntimeError InvalidSetting naming any other NAME.
std::string objectName();

// Now on the clock frames are stamped with: the steady clock (CLOCK_MONOTONIC), which all
// processes of the machine share, in ns.
inline std::int64_t clockNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The writes so far, the frames taken, and what the decoder counts, each as received.
struct Counters {
    std::uint64_t writes = 0;
    std::uint64_t frames = 0;
    double framesPerSecond = 0;    // as the publisher measured it; 0 until two frames
    std::int64_t lastFrameAt = 0;  // on the steady clock, in ns; 0 before the first frame
    std::uint64_t linesPerFrame = 0;
    std::uint64_t pixelsPerLine = 0;
    port_signals::StreamDecoder::Faults faults;
};

// A whole frame as the decoder took it.
struct Frame {
    std::uint64_t number = 0;  // 1 for the first frame taken
    std::int64_t takenAt = 0;  // when, on the steady clock (CLOCK_MONOTONIC), in ns
    PanelPicture picture;
};

}  // namespace dotwall::panel_link

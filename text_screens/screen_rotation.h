#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "text_screens/lcd_sessions.h"
#include "text_screens/screen_model.h"

namespace dotwall::text_screens {

// Which screen the panel shows, stroke after stroke, as LCDd chooses it: one of the most
// important class present (hidden screens never); when that class changes, or the shown
// screen goes, the one added last of the class; background, info and foreground screens take
// turns in the order they were added, each for its duration; alert and input screens stay.
// A screen with a timeout goes when it has been shown that long.
class ScreenRotation {
  public:
    // The screen shown at this stroke, or null when there is none, counted as shown once.
    // Removes from `screens` the one whose time ran out at the last stroke. Adds a notice for
    // the client of a screen that comes into view (`listen`) or goes out of it (`ignore`).
    Screen* choose(std::vector<Screen>& screens, std::vector<ClientNotice>& notices);
    // The screen shown at the last stroke, if it still exists.
    std::optional<std::uint64_t> shown() const { return shown_; }

  private:
    std::optional<std::uint64_t> shown_;  // its serial
    int shownFor_ = 0;                    // strokes in its turn
    bool expired_ = false;                // its timeout ran out
};

}  // namespace dotwall::text_screens

#pragma once

#include <chrono>
#include <filesystem>

#include "panel_tool/panel_feed.h"

namespace dotwall::panel_tool {

// How long a snapshot of the live panel waits for its first whole frame.
inline constexpr std::chrono::seconds kSnapshotPatience{10};
// How long after the first frame a second is waited for, so that the status tells a rate.
inline constexpr std::chrono::seconds kForARate{2};

// Writes the picture the window would show at `scale` to `path` whole, in the format its
// suffix names, once the feed has a whole frame: a file's at once, the live panel's after the
// first frame taken (and the second, for the rate, when it comes within kForARate), looking
// at the link about a hundred times a second. Raises RuntimeError: ForeignObject with the
// reason an object under the panel's name is not read, TimedOut with the feed's status when
// no frame came within `patience`, NoStream when the program that fed the panel is gone
// without removing it; and naming the file when it cannot be written.
void writeSnapshot(PanelFeed& feed, int scale, const std::filesystem::path& path,
                   std::chrono::milliseconds patience = kSnapshotPatience);

}  // namespace dotwall::panel_tool

#pragma once

#include <filesystem>

#include "frames/panel_profile.h"
#include "picture/frame_packing.h"

namespace dotwall::frame_tool {

// Streams the picture's packed frame for the panel to the port through DotwallLpt's own
// refresh, port library and driver start and stop, without a window: `frames` frames, or with
// 0 until SIGINT or SIGTERM (see StopSignals), after which the frame being sent is finished,
// or cut short by a stop at once. Then 0 is written once, the driver stopped, and the rate
// reached printed. A driver that
// does not start raises an error with DotwallLpt's message, after the driver was stopped as
// the window stops it.
void playPicture(const std::filesystem::path& picturePath, const PanelProfile& profile,
                 PictureFitting fitting, long frames);

}  // namespace dotwall::frame_tool

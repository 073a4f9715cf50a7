#pragma once

#include <filesystem>

namespace dotwall::frame_tool {

// Streams the frame `lpt` packs for the picture to the panel on the parallel port through
// DotwallLpt's own refresh, port library and driver start and stop, without a window:
// `frames` frames, or with 0 until SIGINT or SIGTERM (see StopSignals), after which the
// frame being sent is finished. Then 0 is written once and the driver stopped. A driver that
// does not start raises an error with DotwallLpt's message, after the driver was stopped as
// the window stops it.
void playPicture(const std::filesystem::path& picturePath, long frames);

}  // namespace dotwall::frame_tool

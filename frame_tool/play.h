#pragma once

#include <memory>

#include "frame_tool/picture_sources.h"
#include "frames/panel_profile.h"
#include "picture/frame_packing.h"

namespace dotwall::frame_tool {

struct PlaySettings {
    PanelProfile profile;
    PictureFitting fitting;
    long frames = 0;    // ends after this many frames; 0: when the pictures end or when stopped
    bool hold = false;  // the last picture stays on the panel until stopped
    // A lone still picture stays until stopped, and the rate line tells no pictures.
    bool loneStillHolds = false;
};

// Streams the pictures' packed frames for the panel to the port through DotwallLpt's own
// refresh, port library and driver start and stop, without a window, each picture for its
// time (see PictureFeeder), until the pictures end, `frames` frames were sent, or SIGINT or
// SIGTERM (see StopSignals), after which the frame being sent is finished, or cut short by a
// stop at once. Then 0 is written once, the driver stopped, and the rate reached and the
// pictures shown and dropped printed. A driver that does not start raises an error with
// DotwallLpt's message, after the driver was stopped as the window stops it; a picture
// that cannot be read raises its error after the pictures before it were shown.
void playPictures(std::unique_ptr<PictureSource> source, const PlaySettings& settings);

}  // namespace dotwall::frame_tool

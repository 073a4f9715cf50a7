#pragma once

#include <QImage>

#include "frames/frame_buffer.h"
#include "frames/panel_frame.h"
#include "frames/panel_profile.h"

namespace dotwall {

// The windows' Convert without a window: the same picture area, background and packer.

// DotwallUsb's frame for a picture it shows: the picture must already be black and white,
// as the window turns it when it opens the file (blackAndWhite). It sits at the top-left of
// the 640 x 480 area on the window-background colour of Qt's default palette, as DotwallUsb
// shows it without a desktop theme.
FrameBuffer packUsbFrame(const QImage& blackAndWhitePicture);

// How a picture is made ready for a panel before it is packed.
struct PictureFitting {
    bool fit = false;  // scaled to fill the panel, keeping its proportions, centred
    // Black and white by error diffusion, as DotwallUsb's Open does; on a panel of more grey
    // levels, diffused to its levels.
    bool dither = false;
};

// The packed frame of a panel profile for a picture on white paper: at the top-left, as it
// is, cut at the panel's edges (DotwallLpt's panel: as its Convert packs it, in its area);
// on a panel of more grey levels, each pixel at the level nearest its brightness unless
// dithered.
PanelFrame packPanelFrame(const PanelProfile& profile, const QImage& picture,
                          PictureFitting fitting);

}  // namespace dotwall

#pragma once

#include <QImage>

#include "frames/frame_buffer.h"

namespace dotwall {

// The windows' Convert without a window: the same picture area, background and packer.

// DotwallUsb's frame for a picture it shows: the picture must already be black and white,
// as the window turns it when it opens the file (blackAndWhite). It sits at the top-left of
// the 640 x 480 area on the window-background colour of Qt's default palette, as DotwallUsb
// shows it without a desktop theme.
FrameBuffer packUsbFrame(const QImage& blackAndWhitePicture);

// DotwallLpt's frame for a picture shown as it is at the top-left of its 9650 x 3660-twip
// area on white: 241 lines of 160 bytes, test mark included.
FrameBuffer packLptFrame(const QImage& picture);

}  // namespace dotwall

#pragma once

#include "colour_value.h"
#include "picture_surface.h"

namespace dotwall::usb_tool {

// DotwallUsb's picture area: 640 x 480 pixels, measured in pixels, on the
// window-background colour wherever the picture does not reach.
inline constexpr AreaSize kUsbPictureArea{640.0f, 480.0f, AreaUnit::Pixel};
inline constexpr ColourValue kUsbPictureBackground = kWindowBackground;

}  // namespace dotwall::usb_tool

#pragma once

#include "colour_value.h"
#include "picture_surface.h"

namespace dotwall::port_tool {

// DotwallLpt's picture area: 9650 x 3660 twips (about 643 x 244 pixels) around its 640 x 240
// picture, measured in twips. The grid spans the whole area, so its last three columns and
// lines sample the area beyond the picture. White there extends the black-on-white
// picture's own paper; any darker colour would draw bars along the panel's right and bottom
// edges that are not in the picture.
inline constexpr AreaSize kLptPictureArea{9650.0f, 3660.0f, AreaUnit::Twip};
inline constexpr ColourValue kLptPictureBackground = kWhite;

}  // namespace dotwall::port_tool

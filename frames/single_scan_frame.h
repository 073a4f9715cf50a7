#pragma once

#include <cstddef>
#include <cstdint>

#include "frames/colour_value.h"
#include "frames/grey_levels.h"
#include "frames/panel_frame.h"
#include "frames/panel_picture.h"
#include "frames/panel_profile.h"
#include "frames/picture_area.h"

// The frame of a single-scan panel with a 4-bit bus, as a panel profile describes it: a
// PanelFrame of two grey levels, the panel's lines of width / 4 bytes, a group of four pixels
// in the low nibble with the leftmost in bit 3, bits 4 to 7 0; or of the profile's grey
// levels, a byte a pixel.
//
//   A pixel is lit when its colour value, as a signed 32-bit number, is above 128: black,
//   pure dark red (128) and -1 (outside the area) are dark. With more grey levels its
//   brightness is taken to the levels (see grey_levels.h), -1 dark.
//   PixelForPixel: the panel's pixel (x, y) is the picture area's point (x, y), the area
//   measured in pixels, the panel's size.
//   ScaledGridWithTestMark, DotwallLpt's panel: 241 lines of 160 bytes, 38560 bytes. The
//   grid is 640 columns by 240 line pitches scaled to the picture area's width and height:
//   column i lies at x = i · (width / 640), computed in 32-bit floating point, and line n at
//   y = n · (height / 240), computed in 64-bit floating point and rounded to 32 bits. Its
//   241st line lies on the area's lower edge, outside it, and is part of every frame. After
//   packing, a test mark goes into byte column 20 (pixel columns 80 to 83) of lines 0 to 8:
//   0101 on even and 1010 on odd lines, whatever the picture, to find the panel's top-left
//   corner and check the line order.
namespace dotwall::single_scan {

inline constexpr int kGridColumns = 640;
inline constexpr int kGridLinePitches = 240;
inline constexpr int kLines = 241;
inline constexpr int kBytesPerLine = 160;
inline constexpr std::size_t kFrameBytes = kLines * kBytesPerLine;  // 38560
inline constexpr ColourValue kThreshold = 128;
// The first packed bytes DotwallLpt's Convert shows, before the test mark goes in.
inline constexpr std::size_t kDumpedBytes = 201;

// DotwallLpt's picture area: 9650 x 3660 twips (about 643 x 244 pixels) around its 640 x 240
// picture, measured in twips. The grid spans the whole area, so its last three columns and
// lines sample the area beyond the picture. White there extends the black-on-white
// picture's own paper; any darker colour would draw bars along the panel's right and bottom
// edges that are not in the picture.
inline constexpr AreaSize kPictureAreaSize{9650.0f, 3660.0f, AreaUnit::Twip};
inline constexpr ColourValue kPictureBackground = kWhite;

// The area a profile's picture is shown on: DotwallLpt's for the scaled grid, else the
// panel's pixels.
AreaSize pictureAreaSize(const PanelProfile& profile);

// The scaled grid's column and line under the point (x, y) of the area, before rounding
// down: (640 / width) · x and (240 / height) · y in 64-bit floating point, the inverse of
// the packer's pitches. A zero width or height (or any other fault) raises
// FloatingPointFault.
double gridColumnAt(const PictureArea& picture, float x);
double gridLineAt(const PictureArea& picture, float y);

// Samples the area as the profile says, at profile.lines x profile.width points each mapped
// to a pixel as the point query maps it, and packs the frame without a test mark, its greys
// chosen as `choice` says. A grid pitch that is no finite number (an infinite or NaN width
// or height) is a FloatingPointFault.
PanelFrame sample(const PanelProfile& profile, const AreaRows& area,
                  grey_levels::LevelChoice choice = grey_levels::LevelChoice::Nearest);

// Stamps the test mark into a frame where the profile's sampling has one.
void stampTestMark(const PanelProfile& profile, PanelFrame& frame);

// Convert: the frame sampled, with its test mark.
PanelFrame pack(const PanelProfile& profile, const AreaRows& area,
                grey_levels::LevelChoice choice = grey_levels::LevelChoice::Nearest);

// The pixels a panel shows for a packed frame, at their grey levels. A byte that is no
// level of the frame raises RuntimeError InvalidFrame naming it.
PanelPicture panelPicture(const PanelFrame& frame);

}  // namespace dotwall::single_scan

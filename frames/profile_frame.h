#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "frames/frame_buffer.h"
#include "frames/panel_picture.h"
#include "frames/panel_profile.h"
#include "frames/picture_area.h"

// The packed frame of a panel profile: its lines, width / 4 bytes each, a group of four
// pixels in the low nibble of a byte with the leftmost in bit 3 and a lit pixel 1.
namespace dotwall::profile_frame {

// The area a profile's picture is shown on: the panel's pixels one for one.
AreaSize areaSize(const PanelProfile& profile);

// Packs what the area shows, pixel (x, y) for the panel's pixel (x, y), lit when its colour
// value is above 128 as for DotwallLpt's panel. The built-in profile packs as DotwallLpt's
// Convert does instead (single_scan::pack) and takes its area.
std::vector<std::uint8_t> pack(const PanelProfile& profile, const PictureArea& area);

// The packed frame DotwallLpt's window holds in its frame buffer, its first 38560 bytes.
std::vector<std::uint8_t> ofFrameBuffer(const FrameBuffer& frame);

// The pixels a panel of the profile shows for a packed frame of profile.frameBytes() bytes.
PanelPicture panelPicture(const PanelProfile& profile, std::span<const std::uint8_t> frame);

}  // namespace dotwall::profile_frame

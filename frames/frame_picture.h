#pragma once

#include <filesystem>

#include "frames/panel_picture.h"
#include "frames/panel_profile.h"

namespace dotwall {

// The picture a panel shows for a frame file: a dual-scan frame file (38402 bytes, 640 x 480)
// or a single-scan frame of DotwallLpt's panel (38560 bytes, 640 x 241), told apart by their
// length. Raises RuntimeError naming the file: FileAccess when it cannot be read,
// InvalidFrame when its length is neither.
PanelPicture readFramePicture(const std::filesystem::path& framePath);

// The picture a panel of the profile shows for a frame file of its packed lines; a file of
// another length is InvalidFrame.
PanelPicture readFramePicture(const std::filesystem::path& framePath, const PanelProfile& profile);

}  // namespace dotwall

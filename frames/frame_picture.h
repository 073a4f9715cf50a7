#pragma once

#include <filesystem>

#include "frames/panel_picture.h"

namespace dotwall {

// The picture a panel shows for a frame file: a dual-scan frame file (38402 bytes, 640 x 480)
// or a single-scan frame (38560 bytes, 640 x 241), told apart by their length. Raises
// RuntimeError naming the file: FileAccess when it cannot be read, InvalidFrame when its
// length is neither.
PanelPicture readFramePicture(const std::filesystem::path& framePath);

}  // namespace dotwall

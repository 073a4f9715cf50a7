#pragma once

#include <filesystem>

#include "common/frame_buffer.h"

namespace dotwall {

// "d:\screen.bin" where there are drive letters; elsewhere "screen.bin" in the working
// directory.
std::filesystem::path defaultFrameFilePath();

// Writes the dual-scan frame file, frame buffer elements 0 to 38401, from offset 0 without
// truncating the file: a missing file is created, a longer one keeps its tail. A failure
// raises a FileAccess error naming the path and the system's reason.
void writeFrameFile(const FrameBuffer& frame, const std::filesystem::path& path);

}  // namespace dotwall

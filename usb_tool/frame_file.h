#pragma once

#include <cstddef>
#include <filesystem>

#include "frame_buffer.h"

namespace dotwall::usb_tool {

// The frame file holds frame buffer elements 0 to 38401, one byte each, no header: the
// 38400-byte frame, element 38400 (0 after a conversion) and element 38401 (5).
inline constexpr std::size_t kFrameFileBytes = 38402;

// "d:\screen.bin" where there are drive letters; elsewhere "screen.bin" in the working
// directory.
std::filesystem::path defaultFrameFilePath();

// Writes the frame file from offset 0 without truncating it: a missing file is created, a
// longer one keeps its tail. A failure raises a FileAccess error naming the path and the
// system's reason; the frame buffer is never touched.
void writeFrameFile(const FrameBuffer& frame, const std::filesystem::path& path);

}  // namespace dotwall::usb_tool

#pragma once

#include <filesystem>

#include "frames/frame_buffer.h"

namespace dotwall {

// "screen.bin" in the working directory, where DotwallUsb's Save writes the frame.
std::filesystem::path defaultFrameFilePath();

// Writes the dual-scan frame file, frame buffer elements 0 to 38401, over the start of the
// file: a longer file keeps its tail. The result is written whole beside the file and then
// takes its place, so a failure (a full disk) leaves the old file untouched, or no file. A
// link keeps leading to the written file, whose mode and owner stay; a read-only file is
// refused; a device or pipe is written directly. A failure raises a FileAccess error naming
// the path and the reason.
void writeFrameFile(const FrameBuffer& frame, const std::filesystem::path& path);

}  // namespace dotwall

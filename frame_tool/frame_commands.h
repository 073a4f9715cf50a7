#pragma once

#include <filesystem>

namespace dotwall::frame_tool {

// Each command does what the windows do, through the same code, and raises RuntimeError
// naming the file and the reason when its input is bad or its output cannot be written. A
// stop signal (SIGINT, SIGTERM) ends the work between two frames, the output left as it was.

// The frame file DotwallUsb saves after File, Open PICTURE, Convert, Save, written as the
// window writes it (writeFrameFile): a longer file keeps its tail.
void writeUsbFrame(const std::filesystem::path& picturePath, const std::filesystem::path& output);

// The frame DotwallLpt's Convert packs when its picture area shows the picture, as it is,
// at its top-left: 241 lines of 160 bytes, test mark included.
void writeLptFrame(const std::filesystem::path& picturePath, const std::filesystem::path& output);

// The port bytes GO! sends for that frame: `frames` whole frames, nothing else.
void writeStream(const std::filesystem::path& picturePath, long frames,
                 const std::filesystem::path& output);

// The panel's picture for a frame file (dual or single scan), each pixel drawn as a square
// of scale x scale, saved in the format the output's suffix names (PNG when none).
void writePreview(const std::filesystem::path& framePath, const std::filesystem::path& output,
                  int scale);

}  // namespace dotwall::frame_tool

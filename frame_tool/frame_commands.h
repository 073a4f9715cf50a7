#pragma once

#include <filesystem>
#include <optional>

#include "frames/panel_profile.h"
#include "picture/frame_packing.h"

namespace dotwall::frame_tool {

// Each command does what the windows do, through the same code, and raises RuntimeError
// naming the file and the reason when its input is bad or its output cannot be written. A
// stop signal (SIGINT, SIGTERM) ends the work between two frames, the output left as it was.

// The frame file DotwallUsb saves after File, Open PICTURE, Convert, Save, written as the
// window writes it (writeFrameFile): a longer file keeps its tail.
void writeUsbFrame(const std::filesystem::path& picturePath, const std::filesystem::path& output);

// The packed frame of the panel for the picture: for DotwallLpt's panel, what its Convert
// packs when its picture area shows the picture at its top-left, test mark included.
void writePanelFrame(const std::filesystem::path& picturePath, const PanelProfile& profile,
                     PictureFitting fitting, const std::filesystem::path& output);

// The port bytes GO! sends for that frame: `frames` whole frames, nothing else. A file
// system without room for them all refuses the stream before a byte is written.
void writeStream(const std::filesystem::path& picturePath, const PanelProfile& profile,
                 PictureFitting fitting, long frames, const std::filesystem::path& output);

// The panel's picture for a frame file, each pixel drawn as a square of scale x scale, saved
// in the format the output's suffix names (PNG when none; one Qt cannot write is refused
// before the frame is read): without a profile a dual-scan or
// DotwallLpt's single-scan frame, told apart by their length.
void writePreview(const std::filesystem::path& framePath,
                  const std::optional<PanelProfile>& profile, const std::filesystem::path& output,
                  int scale);

}  // namespace dotwall::frame_tool

#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "frames/panel_picture.h"
#include "frames/panel_profile.h"

namespace dotwall {

// A kind of frame file a command takes, chosen by what it was asked: its length, how a
// refusal names it, and the picture a panel shows for it.
struct FrameKind {
    std::size_t bytes;
    std::string described;  // e.g. "38402 (dual scan)"
    std::function<PanelPicture(std::span<const std::uint8_t>)> picture;
};

// A single-scan frame of the panel, its packed lines: what a command given a panel takes.
FrameKind panelFrame(const PanelProfile& profile);

// What a command given no panel takes: DotwallUsb's dual-scan frame file (38402 bytes,
// 640 x 480) or DotwallLpt's single-scan frame (38560 bytes, 640 x 241).
std::vector<FrameKind> windowFrames();

// The frame file as one of `kinds`, told by its length.
// Raises RuntimeError naming the file: FileAccess when it cannot be read, InvalidFrame when
// its length is none of theirs.
PanelPicture readFramePicture(const std::filesystem::path& framePath,
                              const std::vector<FrameKind>& kinds);

}  // namespace dotwall

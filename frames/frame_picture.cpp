#include "frames/frame_picture.h"

#include <algorithm>

#include "base/bounded_file.h"
#include "base/runtime_error.h"
#include "frames/dual_scan_frame.h"
#include "frames/single_scan_frame.h"

namespace dotwall {

FrameKind panelFrame(const PanelProfile& profile) {
    const std::string layout =
        profile.greyLevels > 2
            ? " of " + std::to_string(profile.greyLevels) + " grey levels, a byte a pixel"
            : "";
    return {
        profile.frameBytes(),
        std::to_string(profile.frameBytes()) + " for the panel \"" + profile.name + "\"" + layout,
        [size = profile.size(), levels = profile.greyLevels](std::span<const std::uint8_t> bytes) {
            return single_scan::panelPicture(
                PanelFrame{size, levels, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
        }};
}

std::vector<FrameKind> windowFrames() {
    FrameKind dotwallLptFrame = panelFrame(dotwallLptProfile());
    dotwallLptFrame.described = std::to_string(single_scan::kFrameBytes) + " (single scan)";
    return {
        {dual_scan::kFrameFileBytes, std::to_string(dual_scan::kFrameFileBytes) + " (dual scan)",
         [](std::span<const std::uint8_t> bytes) { return dual_scan::panelPicture(bytes); }},
        std::move(dotwallLptFrame)};
}

PanelPicture readFramePicture(const std::filesystem::path& framePath,
                              const std::vector<FrameKind>& kinds) {
    std::size_t most = 0;
    std::string described;
    for (const FrameKind& kind : kinds) {
        most = std::max(most, kind.bytes);
        described += (described.empty() ? "" : " or ") + kind.described;
    }
    // One byte more than the longest is enough to refuse a longer file.
    const std::vector<std::uint8_t> bytes = readFileStart(framePath, most, "read");
    const std::string notAFrame = "The frame \"" + framePath.string() + "\" is not a panel frame: ";
    for (const FrameKind& kind : kinds) {
        if (bytes.size() == kind.bytes) {
            try {
                return kind.picture(bytes);
            } catch (const RuntimeError& error) {
                throw RuntimeError(error.kind(), notAFrame + error.what() + ".");
            }
        }
    }
    throw RuntimeError(ErrorKind::InvalidFrame,
                       notAFrame + "it holds " +
                           (bytes.size() > most ? "more than " + std::to_string(most)
                                                : std::to_string(bytes.size())) +
                           " bytes, but a frame holds " + described + ".");
}

}  // namespace dotwall

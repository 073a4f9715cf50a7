#include "frames/frame_picture.h"

#include <cerrno>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/file_error.h"
#include "base/runtime_error.h"
#include "base/stdio_file.h"
#include "frames/dual_scan_frame.h"
#include "frames/profile_frame.h"
#include "frames/single_scan_frame.h"

namespace dotwall {

namespace {

// Reads at most one byte more than `most`: that is enough to refuse a longer file, and a
// name such as /dev/zero or a huge file cannot make a tool read without end.
std::vector<std::uint8_t> readFrame(const std::filesystem::path& path, std::size_t most) {
    const StdioFile in(std::fopen(path.string().c_str(), "rb"));
    if (!in) {
        throwFileError("read", path, errno);
    }
    std::vector<std::uint8_t> bytes(most + 1);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in.get()));
    if (std::ferror(in.get()) != 0) {
        throwFileError("read", path, errno);
    }
    return bytes;
}

[[noreturn]] void refuseLength(const std::filesystem::path& path, std::size_t length,
                               std::size_t most, const std::string& frames) {
    throw RuntimeError(
        ErrorKind::InvalidFrame,
        "The frame \"" + path.string() + "\" is not a panel frame: it holds " +
            (length > most ? "more than " + std::to_string(most) : std::to_string(length)) +
            " bytes, but a frame holds " + frames + ".");
}

}  // namespace

PanelPicture readFramePicture(const std::filesystem::path& framePath) {
    const std::vector<std::uint8_t> bytes = readFrame(framePath, single_scan::kFrameBytes);
    if (bytes.size() == dual_scan::kFrameFileBytes) {
        return dual_scan::panelPicture(bytes);
    }
    if (bytes.size() == single_scan::kFrameBytes) {
        return profile_frame::panelPicture(dotwallLptProfile(), bytes);
    }
    refuseLength(framePath, bytes.size(), single_scan::kFrameBytes,
                 std::to_string(dual_scan::kFrameFileBytes) + " (dual scan) or " +
                     std::to_string(single_scan::kFrameBytes) + " (single scan)");
}

PanelPicture readFramePicture(const std::filesystem::path& framePath, const PanelProfile& profile) {
    const std::vector<std::uint8_t> bytes = readFrame(framePath, profile.frameBytes());
    if (bytes.size() != profile.frameBytes()) {
        refuseLength(
            framePath, bytes.size(), profile.frameBytes(),
            std::to_string(profile.frameBytes()) + " for the panel \"" + profile.name + "\"");
    }
    return profile_frame::panelPicture(profile, bytes);
}

}  // namespace dotwall

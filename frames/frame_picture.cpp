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
#include "frames/single_scan_frame.h"

namespace dotwall {

namespace {

// Reads at most one byte more than the longest frame: that is enough to refuse a longer
// file, and a name such as /dev/zero or a huge file cannot make a tool read without end.
std::vector<std::uint8_t> readFrame(const std::filesystem::path& path) {
    const StdioFile in(std::fopen(path.string().c_str(), "rb"));
    if (!in) {
        throwFileError("read", path, errno);
    }
    std::vector<std::uint8_t> bytes(single_scan::kFrameBytes + 1);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in.get()));
    if (std::ferror(in.get()) != 0) {
        throwFileError("read", path, errno);
    }
    return bytes;
}

}  // namespace

PanelPicture readFramePicture(const std::filesystem::path& framePath) {
    const std::vector<std::uint8_t> bytes = readFrame(framePath);
    if (bytes.size() == dual_scan::kFrameFileBytes) {
        return dual_scan::panelPicture(bytes);
    }
    if (bytes.size() == single_scan::kFrameBytes) {
        return single_scan::panelPicture(bytes);
    }
    const std::string length = bytes.size() > single_scan::kFrameBytes
                                   ? "more than " + std::to_string(single_scan::kFrameBytes)
                                   : std::to_string(bytes.size());
    throw RuntimeError(ErrorKind::InvalidFrame,
                       "The frame \"" + framePath.string() + "\" is not a panel frame: it holds " +
                           length + " bytes, but a frame holds " +
                           std::to_string(dual_scan::kFrameFileBytes) + " (dual scan) or " +
                           std::to_string(single_scan::kFrameBytes) + " (single scan).");
}

}  // namespace dotwall

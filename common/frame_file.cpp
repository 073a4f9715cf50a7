#include "common/frame_file.h"

#include <cerrno>
#include <cstdio>

#include "common/dual_scan_frame.h"
#include "common/file_error.h"
#include "common/stdio_file.h"

namespace dotwall {

namespace {

// Opens for reading and writing without truncation, creating the file when it is missing.
StdioFile openWithoutTruncating(const std::filesystem::path& path) {
    StdioFile file(std::fopen(path.string().c_str(), "r+b"));
    if (!file && errno == ENOENT) {
        file.reset(std::fopen(path.string().c_str(), "w+b"));
    }
    if (!file) {
        throwFileError("open the frame file", path, errno);
    }
    return file;
}

}  // namespace

std::filesystem::path defaultFrameFilePath() {
#ifdef _WIN32
    return "d:\\screen.bin";
#else
    return "screen.bin";
#endif
}

void writeFrameFile(const FrameBuffer& frame, const std::filesystem::path& path) {
    StdioFile file = openWithoutTruncating(path);
    // One write of elements 0 to 38401 puts the same bytes in the same order as writing
    // them one at a time.
    constexpr std::size_t kBytes = dual_scan::kFrameFileBytes;
    static_assert(kBytes <= FrameBuffer::kSize);
    if (std::fwrite(frame.data(), 1, kBytes, file.get()) != kBytes ||
        std::fflush(file.get()) != 0) {
        throwFileError("write the frame file", path, errno);
    }
    if (std::fclose(file.release()) != 0) {
        throwFileError("write the frame file", path, errno);
    }
}

}  // namespace dotwall

#include "frame_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime_error.h"
#include "stdio_file.h"

namespace dotwall::usb_tool {

namespace {

[[noreturn]] void throwFileError(const std::string& action, const std::filesystem::path& path,
                                 int error) {
    throw RuntimeError(ErrorKind::FileAccess, "Cannot " + action + " the frame file \"" +
                                                  path.string() + "\": " + std::strerror(error) +
                                                  ".");
}

// Opens for reading and writing without truncation, creating the file when it is missing.
StdioFile openWithoutTruncating(const std::filesystem::path& path) {
    StdioFile file(std::fopen(path.string().c_str(), "r+b"));
    if (!file && errno == ENOENT) {
        file.reset(std::fopen(path.string().c_str(), "w+b"));
    }
    if (!file) {
        throwFileError("open", path, errno);
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
    static_assert(kFrameFileBytes <= FrameBuffer::kSize);
    if (std::fwrite(frame.data(), 1, kFrameFileBytes, file.get()) != kFrameFileBytes ||
        std::fflush(file.get()) != 0) {
        throwFileError("write", path, errno);
    }
    if (std::fclose(file.release()) != 0) {
        throwFileError("write", path, errno);
    }
}

}  // namespace dotwall::usb_tool

#include "frames/frame_file.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "base/file_error.h"
#include "base/stdio_file.h"
#include "base/whole_file.h"
#include "frames/dual_scan_frame.h"

namespace dotwall {

namespace {

constexpr std::size_t kBytes = dual_scan::kFrameFileBytes;
constexpr const char* kWhat = "the frame file";

// Carries what lies beyond the frame in the replaced file on into the new one; a tail that
// cannot be read fails the write rather than being lost.
void copyTail(const std::filesystem::path& from, FileOutput& to,
              const std::filesystem::path& target) {
    const StdioFile old(std::fopen(from.c_str(), "rb"));
    if (!old || std::fseek(old.get(), kBytes, SEEK_SET) != 0) {
        throwFileError(std::string("write ") + kWhat, target, errno);
    }
    char chunk[1 << 16];
    for (std::size_t got = 0; (got = std::fread(chunk, 1, sizeof chunk, old.get())) > 0;) {
        to.write(chunk, got);
    }
    if (std::ferror(old.get()) != 0) {
        throwFileError(std::string("write ") + kWhat, target, errno);
    }
}

}  // namespace

std::filesystem::path defaultFrameFilePath() {
    return "screen.bin";
}

void writeFrameFile(const FrameBuffer& frame, const std::filesystem::path& path) {
    static_assert(kBytes <= FrameBuffer::kSize);
    writeWholeFile(path, kWhat, [&](FileOutput& file) {
        file.write(frame.data(), kBytes);
        if (file.replacedFile()) {
            copyTail(*file.replacedFile(), file, path);
        }
    });
}

}  // namespace dotwall

#pragma once

#include <QIODevice>
#include <cerrno>
#include <filesystem>
#include <functional>

namespace dotwall::frame_tool {

// A write into the device failed, with the system's error number.
struct WriteFailed {
    int error;
};

// Writes `size` bytes, or raises WriteFailed.
inline void writeOrStop(QIODevice& device, const char* data, qint64 size) {
    if (device.write(data, size) != size) {
        throw WriteFailed{errno};
    }
}

// Writes a file whole or not at all, through QSaveFile: the bytes go to a temporary file
// beside the target, which takes the target's place only once they are all written, so a
// failure leaves the old file (or none) in place, and a link keeps leading to the written
// file. A target that is no regular file, such as /dev/stdout or a pipe, cannot be replaced
// whole and is written directly: QSaveFile would put a plain file in its place.
// `writeBytes` writes into the device it is given, and may stop at a failed write by raising
// WriteFailed (writeOrStop does); a failure raises FileAccess naming the target and the
// reason.
void writeWholeFile(const std::filesystem::path& target,
                    const std::function<void(QIODevice&)>& writeBytes);

}  // namespace dotwall::frame_tool

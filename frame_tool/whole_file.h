#pragma once

#include <QIODevice>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "frame_tool/stop_signals.h"

namespace dotwall::frame_tool {

// A write into the device failed, with the system's error number.
struct WriteFailed {
    int error;
};

// The work was stopped by the signal with this number (see StopSignals).
struct Stopped {
    int signal;
};

// Writes `size` bytes, or raises WriteFailed; raises Stopped first when a stop signal came.
inline void writeOrStop(QIODevice& device, const char* data, qint64 size) {
    if (const int signal = StopSignals::received()) {
        throw Stopped{signal};
    }
    if (device.write(data, size) != size) {
        throw WriteFailed{errno};
    }
}

// Writes a file whole or not at all, through QSaveFile: the bytes go to a temporary file
// beside the target, which takes the target's place only once they are all written, so a
// failure or a stop signal leaves the old file (or none) in place. A link keeps leading to
// the written file, which keeps the mode and owner of the file it replaces; a read-only file
// is refused, and so is a name that is not valid UTF-8, which Qt cannot give a file. A target
// that is no regular file, such as /dev/stdout or a pipe, cannot be replaced whole and is
// written directly. `writeBytes` writes into the device it is given, and may stop at a failed
// write by raising WriteFailed (writeOrStop does); a failure raises FileAccess naming the
// target and the reason.
void writeWholeFile(const std::filesystem::path& target,
                    const std::function<void(QIODevice&)>& writeBytes);

}  // namespace dotwall::frame_tool

#include "picture_stream/stream_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/runtime_error.h"
#include "base/stop_signals.h"

namespace dotwall::picture_stream {

namespace {

// A pipe's whole buffer at once: a 640 x 240 grey picture comes in three reads.
constexpr std::size_t kChunkBytes = 64 * 1024;

// Waits until the input has bytes or has ended, or a stop signal came, which raises Stopped:
// a writer that never comes, or stops writing, holds up no stop.
void waitForInputOrStop(int descriptor) {
    pollfd watched[] = {{descriptor, POLLIN, 0}, {StopSignals::wakeDescriptor(), POLLIN, 0}};
    while (::poll(watched, 2, -1) < 0 && errno == EINTR) {
        StopSignals::throwIfReceived();
    }
    StopSignals::throwIfReceived();
}

}  // namespace

StreamInput::StreamInput(int descriptor, std::string name)
    : descriptor_(descriptor), name_(std::move(name)), buffer_(kChunkBytes) {}

bool StreamInput::fill(std::size_t count) {
    if (end_ - begin_ >= count) {
        return true;
    }
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        taken_ += static_cast<long long>(begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    while (end_ < count) {
        waitForInputOrStop(descriptor_);
        const ssize_t got = ::read(descriptor_, buffer_.data() + end_, buffer_.size() - end_);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got < 0) {
            throw RuntimeError(ErrorKind::FileAccess,
                               "Cannot read " + name_ + ": " + std::strerror(errno) + ".");
        }
        if (got == 0) {
            return false;
        }
        end_ += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace dotwall::picture_stream

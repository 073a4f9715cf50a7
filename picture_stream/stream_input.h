#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dotwall::picture_stream {

// A file descriptor read in large chunks through a buffer, so that a picture costs a few
// system calls however it is parsed.
class StreamInput {
  public:
    StreamInput(int descriptor, std::string name);

    const std::string& name() const { return name_; }

    // Whether at least `count` bytes (at most a chunk) are buffered, after reading what the
    // input has as needed; false when it ended first. A stop signal that comes before or while
    // it waits for the input raises Stopped; a failed read raises FileAccess.
    bool fill(std::size_t count);
    std::span<const std::uint8_t> buffered() const {
        return {buffer_.data() + begin_, end_ - begin_};
    }
    void consume(std::size_t count) { begin_ += count; }
    // The next byte without taking it; -1 at the end of the input.
    int peek() { return begin_ < end_ || fill(1) ? buffer_[begin_] : -1; }
    // Bytes taken since the start, and those with the bytes buffered.
    long long consumed() const { return taken_ + static_cast<long long>(begin_); }
    long long received() const { return taken_ + static_cast<long long>(end_); }

  private:
    int descriptor_;
    std::string name_;
    std::vector<std::uint8_t> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    long long taken_ = 0;  // bytes moved out of the buffer before begin_
};

}  // namespace dotwall::picture_stream

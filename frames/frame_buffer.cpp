#include "frames/frame_buffer.h"

namespace dotwall {

void FrameBuffer::throwIndexOutOfRange(std::ptrdiff_t index) {
    throw RuntimeError(
        ErrorKind::IndexOutOfRange,
        "The frame buffer index " + std::to_string(index) + " is outside 0 to 72000.");
}

}  // namespace dotwall

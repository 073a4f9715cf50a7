#include "frame_stream.h"

#include <string>

#include "runtime_error.h"

namespace dotwall::port_tool {

namespace {

std::uint8_t withShiftClock(const FrameBuffer& frame, std::ptrdiff_t index) {
    const int clocked = frame.at(index) + kShiftClock;
    if (clocked > 0xFF) [[unlikely]] {
        throw RuntimeError(ErrorKind::Overflow,
                           "The frame buffer element " + std::to_string(index) + " holds " +
                               std::to_string(frame.at(index)) +
                               ", too large for a port byte with the shift clock.");
    }
    return static_cast<std::uint8_t>(clocked);
}

// The data lines are steady across every falling clock edge: the nibble goes out with the
// clock rising and stays while it falls. The latch falls with the next write, at the end of
// a frame only after the frame marker has risen.
void writeFrame(const FrameBuffer& frame, PortWriter& port) {
    port.write(kFrameMarker | kLineLatch);
    port.write(kFrameMarker);
    for (int line = 0; line < kLines; ++line) {
        for (int byteColumn = 0; byteColumn < kBytesPerLine; ++byteColumn) {
            const std::ptrdiff_t index = kBytesPerLine * line + byteColumn;
            port.write(withShiftClock(frame, index));
            port.write(frame.at(index));
        }
        port.write(kLineLatch);
    }
}

}  // namespace

void streamFrames(const FrameBuffer& frame, PortWriter& port,
                  const std::function<bool()>& stopRequested) {
    do {
        writeFrame(frame, port);
    } while (!stopRequested());
}

}  // namespace dotwall::port_tool

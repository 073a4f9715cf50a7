#include "common/port_signals.h"

#include <string>
#include <utility>

#include "common/runtime_error.h"

namespace dotwall::port_signals {

namespace {

using single_scan::kBytesPerLine;
using single_scan::kLines;

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

}  // namespace

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

void streamFrames(const FrameBuffer& frame, PortWriter& port,
                  const std::function<bool()>& stopRequested) {
    do {
        writeFrame(frame, port);
    } while (!stopRequested());
}

StreamDecoder::StreamDecoder() : frame_(kLineLength, kLines), lastFrame_(kLineLength, kLines) {}

void StreamDecoder::write(std::uint8_t byte) {
    if ((byte & kUnused) != 0) {
        ++faults_.unusedLineSet;
        frameSound_ = false;
    }
    if (falls(kShiftClock, byte)) {
        shiftIn(byte);
    }
    if (rises(kLineLatch, byte)) {
        latchLine();
    }
    if (falls(kLineLatch, byte) && (byte & kFrameMarker) != 0) {
        beginFrame();
    }
    previous_ = byte;
}

// The nibble on the data lines while the clock was high goes in, leftmost pixel first.
void StreamDecoder::shiftIn(std::uint8_t byte) {
    if (((byte ^ previous_) & kData) != 0) {
        ++faults_.nibbleChangedOnClock;
        frameSound_ = false;
    }
    for (int bit = 3; bit >= 0; --bit, ++shifted_) {
        if (shifted_ < kLineLength) {
            line_[static_cast<std::size_t>(shifted_)] = ((previous_ >> bit) & 1) != 0;
        }
    }
}

void StreamDecoder::latchLine() {
    const int shifted = std::exchange(shifted_, 0);
    if (row_ < 0) {
        return;  // before the first frame marker there is no row to latch into
    }
    if (shifted != kLineLength) {
        ++faults_.linesOfWrongLength;
        frameSound_ = false;
    }
    if (row_ < kLines) {
        for (int x = 0; x < kLineLength; ++x) {
            frame_.setLit(x, row_, x < shifted && line_[static_cast<std::size_t>(x)]);
        }
    }
    if (++row_ == kLines && frameSound_) {
        std::swap(frame_, lastFrame_);
        ++frames_;
    }
}

void StreamDecoder::beginFrame() {
    if (row_ > 0 && row_ != kLines) {
        ++faults_.framesOfWrongLength;
    }
    row_ = 0;
    frameSound_ = true;
}

}  // namespace dotwall::port_signals

#include "frames/port_signals.h"

#include <string>
#include <utility>

#include "base/runtime_error.h"

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

// The nibble on the data lines while the clock was high goes in, leftmost pixel in D3.
void StreamDecoder::shiftIn(std::uint8_t byte) {
    if (((byte ^ previous_) & kData) != 0) {
        ++faults_.nibbleChangedOnClock;
        frameSound_ = false;
    }
    if (shifted_ < kLineLength) {
        line_[static_cast<std::size_t>(shifted_ / kPixelsPerClock)] = previous_ & kData;
    }
    shifted_ += kPixelsPerClock;
}

void StreamDecoder::latchLine() {
    const long shifted = std::exchange(shifted_, 0);
    pixelsPerLine_ = shifted;
    if (row_ < 0) {
        return;  // before the first frame marker there is no row to latch into
    }
    if (shifted != kLineLength) {
        ++faults_.linesOfWrongLength;
        frameSound_ = false;
    }
    if (row_ < kLines) {
        for (int x = 0; x < kLineLength; ++x) {
            const unsigned nibble = line_[static_cast<std::size_t>(x / kPixelsPerClock)];
            const int bit = kPixelsPerClock - 1 - x % kPixelsPerClock;
            frame_.setLit(x, static_cast<int>(row_), x < shifted && ((nibble >> bit) & 1u) != 0);
        }
    }
    if (++row_ == kLines) {
        linesPerFrame_ = kLines;
        if (frameSound_) {
            std::swap(frame_, lastFrame_);
            ++frames_;
        }
    }
}

void StreamDecoder::beginFrame() {
    if (row_ > 0) {
        linesPerFrame_ = row_;
        faults_.framesOfWrongLength += row_ != kLines;
    }
    row_ = 0;
    frameSound_ = true;
}

}  // namespace dotwall::port_signals

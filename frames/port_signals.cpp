#include "frames/port_signals.h"

#include <bit>
#include <string>
#include <utility>

#include "base/runtime_error.h"

namespace dotwall::port_signals {

namespace {

constexpr int kPixelsPerGroup = 4;

std::uint8_t line(int bit) {
    return static_cast<std::uint8_t>(1u << bit);
}

// Whether pixel k (0 the leftmost) of a group is lit.
bool lit(unsigned group, int k) {
    return ((group >> (kPixelsPerGroup - 1 - k)) & 1u) != 0;
}

std::uint8_t dataLines(const PanelProfile& profile) {
    std::uint8_t lines = 0;
    for (const int bit : profile.data) {
        lines |= line(bit);
    }
    return lines;
}

}  // namespace

FrameEncoder::FrameEncoder(const PanelProfile& profile)
    : lines_(profile.lines),
      bytesPerLine_(profile.bytesPerLine()),
      clock_(line(profile.shiftClock)),
      latch_(line(profile.lineLatch)),
      marker_(line(profile.frameMarker)),
      acLine_(profile.ac ? line(*profile.ac) : 0),
      acEveryLines_(profile.acEveryLines),
      // Turned over at each frame marker, the level is high from the first frame on; with a
      // count, the first frame starts low.
      acFrameStart_(acEveryLines_ == 0 ? acLine_ : 0) {
    for (unsigned group = 0; group < groups_.size(); ++group) {
        for (int k = 0; k < kPixelsPerGroup; ++k) {
            groups_[group] |= lit(group, k) != profile.invert ? line(profile.data[k]) : 0;
        }
    }
}

void FrameEncoder::throwNoGroup(std::size_t index, std::uint8_t value) {
    throw RuntimeError(ErrorKind::Overflow, "The frame byte " + std::to_string(index) + " holds " +
                                                std::to_string(value) +
                                                ", which is no group of four pixels (0 to 15).");
}

void FrameEncoder::writeFrame(std::span<const std::uint8_t> frame, PortWriter& port) {
    if (frame.size() != static_cast<std::size_t>(lines_) * bytesPerLine_) [[unlikely]] {
        throw RuntimeError(ErrorKind::InvalidFrame,
                           "A frame of " + std::to_string(frame.size()) +
                               " bytes is no frame of the panel, which takes " +
                               std::to_string(lines_ * bytesPerLine_) + ".");
    }
    acLevel_ = std::exchange(acFrameStart_, acFrameStart_ ^ acLine_);
    port.write(marker_ | latch_ | acLevel_);
    port.write(marker_ | acLevel_);
    std::size_t index = 0;
    for (int line = 1; line <= lines_; ++line) {
        for (int group = 0; group < bytesPerLine_; ++group, ++index) {
            const std::uint8_t value = frame[index];
            if (value >= groups_.size()) [[unlikely]] {
                throwNoGroup(index, value);
            }
            const std::uint8_t data = groups_[value] | acLevel_;
            port.write(data | clock_);
            port.write(data);
        }
        port.beforeLatch();
        port.write(latch_ | acLevel_);
        if (acEveryLines_ != 0 && line % acEveryLines_ == 0) {
            acLevel_ ^= acLine_;
        }
    }
}

void streamFrames(FrameEncoder& encoder, const FrameCycle& cycle, PortWriter& port,
                  const std::function<bool()>& stopRequested) {
    int f = 0;
    do {
        encoder.writeFrame(cycle.frame(f), port);
        f = (f + 1) % cycle.frames();
    } while (!stopRequested());
}

StreamDecoder::StreamDecoder(const PanelProfile& profile)
    : profile_(profile),
      clock_(line(profile.shiftClock)),
      latch_(line(profile.lineLatch)),
      marker_(line(profile.frameMarker)),
      acLine_(profile.ac ? line(*profile.ac) : 0),
      unused_(
          static_cast<std::uint8_t>(~(dataLines(profile) | clock_ | latch_ | marker_ | acLine_))),
      line_(static_cast<std::size_t>(profile.bytesPerLine())),
      frame_(profile.width, profile.lines),
      lastFrame_(profile.width, profile.lines),
      litHistory_(profile.greyLevels > 2 ? static_cast<std::size_t>(profile.width) * profile.lines
                                         : 0),
      seen_(profile.greyLevels > 2 ? profile.width : 0, profile.lines, profile.greyLevels) {
    for (unsigned byte = 0; byte < groupOf_.size(); ++byte) {
        for (int k = 0; k < kPixelsPerGroup; ++k) {
            const bool high = ((byte >> profile.data[k]) & 1u) != 0;
            groupOf_[byte] |= (high != profile.invert) ? 8u >> k : 0u;
        }
    }
}

void StreamDecoder::write(std::uint8_t byte) {
    if ((byte & unused_) != 0) {
        fault(faults_.unusedLineSet, byte);
    }
    checkAcLine(byte);
    if (falls(clock_, byte)) {
        shiftIn(byte);
    }
    if (rises(latch_, byte)) {
        latchLine();
    }
    if (falls(latch_, byte) && (byte & marker_) != 0) {
        beginFrame();
    }
    previous_ = byte;
}

// The AC line may turn over only where the profile says, and must turn there. A write with
// every line low ends a stream (or is the idle port before one), and is not judged.
void StreamDecoder::checkAcLine(std::uint8_t byte) {
    if (acLine_ == 0) {
        return;
    }
    const bool shouldTurn =
        profile_.acEveryLines == 0 ? rises(marker_, byte) : std::exchange(acShouldTurn_, false);
    const bool turned = ((byte ^ previous_) & acLine_) != 0;
    if (byte != kAllLinesLow && previous_ != kAllLinesLow && turned != shouldTurn) {
        fault(faults_.acNotTurnedOver, byte);
    }
}

// The nibble on the data lines while the clock was high goes in.
void StreamDecoder::shiftIn(std::uint8_t byte) {
    if (groupOf_[byte] != groupOf_[previous_]) {
        fault(faults_.nibbleChangedOnClock, byte);
    }
    if (shifted_ < profile_.width) {
        line_[static_cast<std::size_t>(shifted_ / kPixelsPerGroup)] = groupOf_[previous_];
    }
    shifted_ += kPixelsPerGroup;
}

void StreamDecoder::latchLine() {
    const long shifted = std::exchange(shifted_, 0);
    pixelsPerLine_ = shifted;
    if (row_ < 0) {
        return;  // before the first frame marker there is no row to latch into
    }
    if (shifted != profile_.width) {
        fault(faults_.linesOfWrongLength, 0);
    }
    if (row_ < profile_.lines) {
        for (int x = 0; x < profile_.width; ++x) {
            const unsigned group = line_[static_cast<std::size_t>(x / kPixelsPerGroup)];
            frame_.setLit(x, static_cast<int>(row_),
                          x < shifted && lit(group, x % kPixelsPerGroup));
        }
    }
    ++row_;
    // Within a frame the line turns after every N latches; the next frame starts at the level
    // opposite to this one's start, (lines - 1) / N turns after it.
    const long every = profile_.acEveryLines;
    acShouldTurn_ =
        every != 0 && (row_ == profile_.lines ? (row_ - 1) / every % 2 == 0 : row_ % every == 0);
    if (row_ == profile_.lines) {
        linesPerFrame_ = profile_.lines;
        if (frameSound_) {
            std::swap(frame_, lastFrame_);
            countLitFrames();
            ++frames_;
        }
    }
}

void StreamDecoder::countLitFrames() {
    if (litHistory_.empty()) {
        return;
    }
    const unsigned cycle = (1u << profile_.framesPerCycle()) - 1;
    auto history = litHistory_.begin();
    for (int y = 0; y < profile_.lines; ++y) {
        for (int x = 0; x < profile_.width; ++x, ++history) {
            *history = static_cast<std::uint16_t>(((*history << 1) | lastFrame_.lit(x, y)) & cycle);
            seen_.setLevel(x, y, std::popcount(*history));
        }
    }
}

void StreamDecoder::beginFrame() {
    if (row_ > 0) {
        linesPerFrame_ = row_;
        faults_.framesOfWrongLength += row_ != profile_.lines;
    }
    row_ = 0;
    frameSound_ = !std::exchange(markerSpoilt_, false);
}

}  // namespace dotwall::port_signals

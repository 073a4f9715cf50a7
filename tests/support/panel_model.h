#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "port_writer.h"

namespace dotwall::testing {

// The 640 x 241 pixels of one frame as the panel shows them, 1 for a lit pixel, row by row.
struct PanelImage {
    static constexpr int kColumns = 640;
    static constexpr int kRows = 241;

    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kColumns * kRows, 0);

    std::uint8_t& at(int column, int row) { return pixels[row * kColumns + column]; }
    std::uint8_t at(int column, int row) const { return pixels[row * kColumns + column]; }
    friend bool operator==(const PanelImage&, const PanelImage&) = default;
};

// Where two images differ first, for a failure message; empty when they are equal.
inline std::string firstDifference(const PanelImage& actual, const PanelImage& expected) {
    for (int row = 0; row < PanelImage::kRows; ++row) {
        for (int column = 0; column < PanelImage::kColumns; ++column) {
            if (actual.at(column, row) != expected.at(column, row)) {
                return "column " + std::to_string(column) + ", line " + std::to_string(row) + ": " +
                       std::to_string(actual.at(column, row)) + " instead of " +
                       std::to_string(expected.at(column, row));
            }
        }
    }
    return "";
}

// A controllerless single-scan panel fed from the port's data lines, rebuilding what it
// would show from the signals alone:
// - the shift clock (D6) takes the nibble D3..D0 (D3 leftmost) as it falls, and the nibble
//   must not change across that edge;
// - the line latch (D4) ends a line as it rises: the 640 pixels shifted in become the next
//   line of the frame;
// - the frame marker (D5), seen high when the latch falls, makes the next line the first.
// Anything else a panel could not make sense of is collected in errors(): a byte with D7,
// D4 with D6, D5 in any byte but 48 and 32, a line of the wrong length, a frame of the
// wrong number of lines.
class PanelModel final : public port_tool::PortWriter {
  public:
    void write(std::uint8_t byte) override {
        checkSignals(byte);
        if (falls(kShiftClock, byte)) {
            shiftIn(byte);
        }
        if (rises(kLineLatch, byte)) {
            endLine();
        }
        if (falls(kLineLatch, byte) && (byte & kFrameMarker) != 0) {
            beginFrame();
        }
        lines_ = byte;
        ++writes_;
    }

    // Every frame whose 241 lines have all been latched.
    const std::vector<PanelImage>& frames() const { return frames_; }
    const std::vector<std::string>& errors() const { return errors_; }

  private:
    static constexpr std::uint8_t kLineLatch = 0x10;
    static constexpr std::uint8_t kFrameMarker = 0x20;
    static constexpr std::uint8_t kShiftClock = 0x40;
    static constexpr std::uint8_t kUnused = 0x80;
    static constexpr std::uint8_t kData = 0x0F;

    bool falls(std::uint8_t signal, std::uint8_t byte) const {
        return (lines_ & signal) != 0 && (byte & signal) == 0;
    }
    bool rises(std::uint8_t signal, std::uint8_t byte) const {
        return (lines_ & signal) == 0 && (byte & signal) != 0;
    }

    void fail(const std::string& what) {
        errors_.push_back("write " + std::to_string(writes_) + ": " + what);
    }

    void checkSignals(std::uint8_t byte) {
        if ((byte & kUnused) != 0) {
            fail("D7 set in " + std::to_string(byte));
        }
        if ((byte & kLineLatch) != 0 && (byte & kShiftClock) != 0) {
            fail("latch and clock together in " + std::to_string(byte));
        }
        if ((byte & kFrameMarker) != 0 && byte != 48 && byte != 32) {
            fail("frame marker in " + std::to_string(byte));
        }
    }

    void shiftIn(std::uint8_t byte) {
        if ((byte & kData) != (lines_ & kData)) {
            fail("data changed while the clock fell");
        }
        for (int bit = 3; bit >= 0; --bit) {
            shifted_.push_back(static_cast<std::uint8_t>((lines_ >> bit) & 1));
        }
    }

    void endLine() {
        if (row_ < 0) {
            if (!shifted_.empty()) {
                fail("pixels shifted before the first frame marker");
            }
        } else if (row_ >= PanelImage::kRows) {
            fail("a line beyond the frame's 241");
        } else if (shifted_.size() != static_cast<std::size_t>(PanelImage::kColumns)) {
            fail("line " + std::to_string(row_) + " latched with " +
                 std::to_string(shifted_.size()) + " pixels");
        } else {
            for (int column = 0; column < PanelImage::kColumns; ++column) {
                image_.at(column, row_) = shifted_[static_cast<std::size_t>(column)];
            }
            if (++row_ == PanelImage::kRows) {
                frames_.push_back(image_);
            }
        }
        shifted_.clear();
    }

    void beginFrame() {
        if (row_ > 0 && row_ != PanelImage::kRows) {
            fail("a frame of " + std::to_string(row_) + " lines");
        }
        row_ = 0;
    }

    std::uint8_t lines_ = 0;  // the port is idle, all lines low, before the first write
    long writes_ = 0;
    std::vector<std::uint8_t> shifted_;
    int row_ = -1;  // no frame has begun
    PanelImage image_;
    std::vector<PanelImage> frames_;
    std::vector<std::string> errors_;
};

}  // namespace dotwall::testing

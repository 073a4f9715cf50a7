#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "frames/frame_buffer.h"
#include "frames/panel_picture.h"
#include "frames/single_scan_frame.h"

// The single-scan panel's signals on the parallel port's data lines, one port byte per
// write, as DotwallLpt's GO! plays a frame out:
//
//   D0..D3 (0x0F)  pixel data, the leftmost of four pixels on D3
//   D4     (0x10)  line latch: as it rises, the line shifted in goes to the panel's rows
//   D5     (0x20)  frame marker: high while the latch falls, the next line is the first
//   D6     (0x40)  shift clock: the nibble is taken as it falls, and must not change then
//   D7     (0x80)  unused, always 0
//
// A frame is 48 (marker with latch), 32 (marker), then for each of the 241 lines each of
// its 160 bytes written with the clock high and again with it low, and 16 to latch the line:
// 77363 writes. The latch rises after a line's last nibble and falls with the next write;
// after the last line it stays high through the next frame's first write.
namespace dotwall::port_signals {

inline constexpr std::uint8_t kData = 0x0F;
inline constexpr std::uint8_t kLineLatch = 0x10;
inline constexpr std::uint8_t kFrameMarker = 0x20;
inline constexpr std::uint8_t kShiftClock = 0x40;
inline constexpr std::uint8_t kUnused = 0x80;
inline constexpr long kWritesPerFrame =
    2 + single_scan::kLines * (2 * single_scan::kBytesPerLine + 1);  // 77363
// Written once after a stream, so that no latch or clock line is left high.
inline constexpr std::uint8_t kAllLinesLow = 0;

// Writes one byte to the data register of the parallel port.
class PortWriter {
  public:
    virtual ~PortWriter() = default;
    virtual void write(std::uint8_t byte) = 0;
};

// Plays one frame out of the port. A frame byte above 191 cannot carry the clock in a port
// byte; it is an Overflow error at that write.
void writeFrame(const FrameBuffer& frame, PortWriter& port);

// Plays the frame out, frame after frame. Between two frames, and only there, it asks
// stopRequested and returns when it answers true, so every frame sent is whole.
void streamFrames(const FrameBuffer& frame, PortWriter& port,
                  const std::function<bool()>& stopRequested);

// The panel's side of the wire: rebuilds each frame from the port bytes alone, as the
// panel's drivers do, and counts what a panel could not make sense of. A frame is taken
// when its 241st line is latched, and only when every line of it had 640 pixels with no D7
// and no nibble changing under the falling clock. It allocates nothing after it is made,
// and a write costs a few comparisons, so it can sit behind every port write; whoever
// passes a taken frame on watches frames() after each write.
class StreamDecoder final : public PortWriter {
  public:
    struct Faults {
        long unusedLineSet = 0;         // bytes with D7 set
        long nibbleChangedOnClock = 0;  // the data lines changed as the clock fell
        long linesOfWrongLength = 0;    // a line latched with other than 640 pixels
        long framesOfWrongLength = 0;   // a frame marker after other than 241 lines
    };

    StreamDecoder();

    void write(std::uint8_t byte) override;

    // Frames taken so far; it grows by one at the write that completes a frame.
    long frames() const { return frames_; }
    // The last frame taken; all dark before the first.
    const PanelPicture& lastFrame() const { return lastFrame_; }
    const Faults& faults() const { return faults_; }
    // As received, right or wrong: the lines latched between the last two frame markers (or
    // in the last frame taken), and the pixels shifted into the last line latched. 0 before
    // the first.
    long linesPerFrame() const { return linesPerFrame_; }
    long pixelsPerLine() const { return pixelsPerLine_; }

  private:
    bool falls(std::uint8_t signal, std::uint8_t byte) const {
        return (previous_ & signal) != 0 && (byte & signal) == 0;
    }
    bool rises(std::uint8_t signal, std::uint8_t byte) const {
        return (previous_ & signal) == 0 && (byte & signal) != 0;
    }
    void shiftIn(std::uint8_t byte);
    void latchLine();
    void beginFrame();

    static constexpr int kLineLength = single_scan::kGridColumns;
    static constexpr int kPixelsPerClock = 4;

    std::uint8_t previous_ = 0;  // the port is idle, every line low, before the first write
    // The line's nibbles as shifted in; the panel keeps no more than a line's worth.
    std::array<std::uint8_t, kLineLength / kPixelsPerClock> line_{};
    long shifted_ = 0;  // pixels shifted into the line so far
    long row_ = -1;     // lines latched in this frame; -1 before the first frame marker
    bool frameSound_ = false;
    long linesPerFrame_ = 0;
    long pixelsPerLine_ = 0;
    PanelPicture frame_;  // the frame being received
    PanelPicture lastFrame_;
    long frames_ = 0;
    Faults faults_;
};

}  // namespace dotwall::port_signals

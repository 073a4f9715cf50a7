#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "frames/frame_cycle.h"
#include "frames/panel_picture.h"
#include "frames/panel_profile.h"

// A single-scan panel's signals on the data lines of a port, one port byte per write, as a
// panel profile wires them. DotwallLpt's own panel (the built-in profile) has them on
//
//   D0..D3 (0x0F)  pixel data, the leftmost of four pixels on D3
//   D4     (0x10)  line latch: as it rises, the line shifted in goes to the panel's rows
//   D5     (0x20)  frame marker: high while the latch falls, the next line is the first
//   D6     (0x40)  shift clock: the nibble is taken as it falls, and must not change then
//   D7     (0x80)  unused, always 0
//
// A frame is marker with latch (48), marker (32), then for each of its lines each of its
// groups of four pixels written with the clock high and again with it low, and the latch
// (16): 77363 writes for the 241 lines of 160 groups of the built-in panel. The latch rises
// after a line's last nibble and falls with the next write; after the last line it stays
// high through the next frame's first write. A profile's AC line holds its level in every
// byte and turns over at each frame marker; or, with a count N, after every N line latches
// counted from the frame's start (the byte after the latch carries the new level), each frame
// starting at the level opposite to the previous frame's start: line l of frame f has the
// level (f + l / N) mod 2, so every line is driven high in one frame and low in the next,
// whatever N and the number of lines.
namespace dotwall::port_signals {

// The writes of a frame of the built-in panel.
inline constexpr long kWritesPerFrame = 77363;
// Written once after a stream, so that no latch, clock or AC line is left high.
inline constexpr std::uint8_t kAllLinesLow = 0;

// Writes one byte to the data register of the port.
class PortWriter {
  public:
    virtual ~PortWriter() = default;
    virtual void write(std::uint8_t byte) = 0;
    // Called when a line's last group was written and its latch comes next: where a stream
    // may wait, so that the latch, which ends the line on the panel, comes on time.
    virtual void beforeLatch() {}
};

// Plays a profile's frames out of a port, keeping its AC line's level from frame to frame.
class FrameEncoder {
  public:
    explicit FrameEncoder(const PanelProfile& profile);

    // Plays one packed frame out. A byte above 15 is no group of four pixels: an Overflow
    // error at that write.
    void writeFrame(std::span<const std::uint8_t> frame, PortWriter& port);

  private:
    [[noreturn]] static void throwNoGroup(std::size_t index, std::uint8_t value);

    int lines_;
    int bytesPerLine_;
    std::array<std::uint8_t, 16> groups_{};  // the data lines for each nibble
    std::uint8_t clock_;
    std::uint8_t latch_;
    std::uint8_t marker_;
    std::uint8_t acLine_ = 0;
    int acEveryLines_;
    std::uint8_t acLevel_ = 0;       // the AC line's bit while it is high, else 0
    std::uint8_t acFrameStart_ = 0;  // the level the next frame starts at
};

// Plays the cycle's frames out in turn, over and over. Between two frames, and only there, it
// asks stopRequested and returns when it answers true, so every frame sent is whole.
void streamFrames(FrameEncoder& encoder, const FrameCycle& cycle, PortWriter& port,
                  const std::function<bool()>& stopRequested);

// The panel's side of the wire: rebuilds each frame from the port bytes alone, as a panel of
// the profile does, and counts what such a panel could not make sense of. A frame is taken
// when its last line is latched, and only when every line of it had the profile's width,
// with no unused line set, no nibble changing under the falling clock and the AC line turned
// over as the profile says. It allocates nothing after it is made, and a write costs a few
// comparisons, so it can sit behind every port write; whoever passes a taken frame on
// watches frames() after each write. For a panel of more grey levels it also keeps what the
// eye sees: each pixel's lit frames among the last L - 1 taken, its grey level.
class StreamDecoder final : public PortWriter {
  public:
    struct Faults {
        long unusedLineSet = 0;         // bytes with a line set that no signal uses
        long nibbleChangedOnClock = 0;  // the data lines changed as the clock fell
        long linesOfWrongLength = 0;    // a line latched with more or fewer pixels
        long framesOfWrongLength = 0;   // a frame marker after more or fewer lines
        long acNotTurnedOver = 0;  // the AC line held where it should turn, or turned elsewhere
    };

    explicit StreamDecoder(const PanelProfile& profile);

    void write(std::uint8_t byte) override;

    const PanelProfile& profile() const { return profile_; }
    // Frames taken so far; it grows by one at the write that completes a frame.
    long frames() const { return frames_; }
    // The last frame taken; all dark before the first.
    const PanelPicture& lastFrame() const { return lastFrame_; }
    // What the eye sees: the last frame taken, or for a panel of more grey levels each pixel
    // at the count of frames it was lit in among the last L - 1 taken.
    const PanelPicture& seenPicture() const { return profile_.greyLevels > 2 ? seen_ : lastFrame_; }
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
    void checkAcLine(std::uint8_t byte);
    void countLitFrames();
    // A fault spoils the frame being received; one in a write with the frame marker high,
    // the frame that marker begins.
    void fault(long& count, std::uint8_t byte) {
        ++count;
        if ((byte & marker_) != 0) {
            markerSpoilt_ = true;
        } else {
            frameSound_ = false;
        }
    }

    PanelProfile profile_;
    std::uint8_t clock_;
    std::uint8_t latch_;
    std::uint8_t marker_;
    std::uint8_t acLine_;
    std::uint8_t unused_;
    std::array<std::uint8_t, 256> groupOf_{};  // the nibble the data lines of a byte carry

    std::uint8_t previous_ = 0;  // the port is idle, every line low, before the first write
    // The line's nibbles as shifted in; the panel keeps no more than a line's worth.
    std::vector<std::uint8_t> line_;
    long shifted_ = 0;  // pixels shifted into the line so far
    long row_ = -1;     // lines latched in this frame; -1 before the first frame marker
    bool frameSound_ = false;
    bool markerSpoilt_ = false;
    bool acShouldTurn_ = false;  // the AC line turns over with this write
    long linesPerFrame_ = 0;
    long pixelsPerLine_ = 0;
    PanelPicture frame_;  // the frame being received
    PanelPicture lastFrame_;
    // With more grey levels: each pixel's last L - 1 frames taken, the latest in bit 0.
    std::vector<std::uint16_t> litHistory_;
    PanelPicture seen_;
    long frames_ = 0;
    Faults faults_;
};

}  // namespace dotwall::port_signals

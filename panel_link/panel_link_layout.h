#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "frames/single_scan_frame.h"

namespace dotwall::panel_link {

// The shared memory object, as the publisher writes it and a reader checks it before it
// trusts anything in it. Every field is a lock-free atomic, so the two processes never race
// on plain memory; both run on the same machine, so the byte order is the same.
//
// The counters are stored after every write, each on its own. The frame is guarded by a
// sequence lock: the publisher makes `sequence` odd, writes the frame, and makes it even
// again; a reader copies the frame and keeps the copy only when `sequence` was even and
// unchanged around it. The publisher never waits for a reader, and a reader never keeps
// half a frame.
struct LinkLayout {
    static constexpr std::uint64_t kMagic = 0x506c6c6177746f44;  // "DotwallP"
    // Changes with every change of this layout, so an older viewer refuses a newer object.
    static constexpr std::uint32_t kVersion = 1;
    static constexpr int kWordsPerLine = single_scan::kGridColumns / 64;
    static constexpr int kWords = single_scan::kLines * kWordsPerLine;

    std::atomic<std::uint64_t> magic;  // stored last when the object is made
    std::atomic<std::uint32_t> version;

    std::atomic<std::uint64_t> writes;
    std::atomic<std::uint64_t> linesPerFrame;
    std::atomic<std::uint64_t> pixelsPerLine;
    std::atomic<std::uint64_t> unusedLineSet;
    std::atomic<std::uint64_t> nibbleChangedOnClock;
    std::atomic<std::uint64_t> linesOfWrongLength;
    std::atomic<std::uint64_t> framesOfWrongLength;

    alignas(64) std::atomic<std::uint64_t> sequence;
    std::atomic<std::uint64_t> frames;
    std::atomic<std::int64_t> lastFrameAt;
    // Line by line, 64 pixels to a word, the leftmost in bit 0; a set bit is lit.
    std::array<std::atomic<std::uint64_t>, kWords> pixels;
};

static_assert(std::atomic<std::uint64_t>::is_always_lock_free &&
                  std::atomic<std::uint32_t>::is_always_lock_free,
              "the processes share the atomics' memory, never a lock");
static_assert(single_scan::kGridColumns % 64 == 0);

}  // namespace dotwall::panel_link

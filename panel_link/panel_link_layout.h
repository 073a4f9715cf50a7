#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace dotwall::panel_link {

// The shared memory object, as the publisher writes it and a reader checks it before it
// trusts anything in it: this header, then the pixels of the panel's lines. Every field is a
// lock-free atomic, so the two processes never race on plain memory; both run on the same
// machine, so the byte order is the same.
//
// The counters are stored after every write, each on its own. The frame is guarded by a
// sequence lock: the publisher makes `sequence` odd, writes the frame, and makes it even
// again; a reader copies the frame and keeps the copy only when `sequence` was even and
// unchanged around it. The publisher never waits for a reader, and a reader never keeps
// half a frame.
struct LinkHeader {
    static constexpr std::uint64_t kMagic = 0x506c6c6177746f44;  // "DotwallP"
    // Changes with every change of this layout, so an older viewer refuses a newer object.
    static constexpr std::uint32_t kVersion = 3;
    static constexpr std::size_t kNameWords = 8;  // the profile's name, up to 64 bytes

    std::atomic<std::uint64_t> magic;  // stored last when the object is made
    std::atomic<std::uint32_t> version;
    std::atomic<std::uint32_t> width;  // the panel's pixels per line and lines per frame
    std::atomic<std::uint32_t> lines;
    std::atomic<std::uint32_t> greyLevels;  // 2 (black and white) to 16
    std::array<std::atomic<std::uint64_t>, kNameWords> name;

    std::atomic<std::uint64_t> writes;
    std::atomic<std::uint64_t> linesPerFrame;
    std::atomic<std::uint64_t> pixelsPerLine;
    std::atomic<std::uint64_t> unusedLineSet;
    std::atomic<std::uint64_t> nibbleChangedOnClock;
    std::atomic<std::uint64_t> linesOfWrongLength;
    std::atomic<std::uint64_t> framesOfWrongLength;
    std::atomic<std::uint64_t> acNotTurnedOver;

    alignas(64) std::atomic<std::uint64_t> sequence;
    std::atomic<std::uint64_t> frames;
    std::atomic<std::int64_t> lastFrameAt;
    // The frames per second the publisher measured, in thousandths; 0 until two frames.
    std::atomic<std::uint64_t> milliFramesPerSecond;
    // Then, line by line, the pixels as the eye sees them, the leftmost in the lowest bits:
    // black and white 64 to a word, a set bit lit; with more grey levels 16 to a word, 4
    // bits each holding the level.
};

static_assert(std::atomic<std::uint64_t>::is_always_lock_free &&
                  std::atomic<std::uint32_t>::is_always_lock_free,
              "the processes share the atomics' memory, never a lock");

constexpr int bitsPerPixel(std::uint32_t greyLevels) {
    return greyLevels > 2 ? 4 : 1;
}

constexpr std::size_t wordsPerLine(std::uint32_t width, std::uint32_t greyLevels) {
    const std::uint32_t pixelsPerWord = 64 / bitsPerPixel(greyLevels);
    return (width + pixelsPerWord - 1) / pixelsPerWord;
}

// The size of the object of a panel of `width` x `lines` and its grey levels.
constexpr std::size_t linkBytes(std::uint32_t width, std::uint32_t lines,
                                std::uint32_t greyLevels) {
    return sizeof(LinkHeader) + sizeof(std::uint64_t) * wordsPerLine(width, greyLevels) * lines;
}

// The pixel words after the header.
inline std::atomic<std::uint64_t>* pixelWords(LinkHeader& header) {
    return reinterpret_cast<std::atomic<std::uint64_t>*>(&header + 1);
}
inline const std::atomic<std::uint64_t>* pixelWords(const LinkHeader& header) {
    return reinterpret_cast<const std::atomic<std::uint64_t>*>(&header + 1);
}

}  // namespace dotwall::panel_link

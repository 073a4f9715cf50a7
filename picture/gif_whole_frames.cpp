#include "picture/gif_whole_frames.h"

#include <cstddef>
#include <string_view>

namespace dotwall {

namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImageDescriptor = 0x2c;
constexpr std::size_t kScreenDescriptorEnd = 13;
constexpr std::size_t kImageDescriptorSize = 10;

// The size of the colour table a descriptor's packed byte announces.
std::size_t colourTableSize(std::uint8_t packed) {
    return (packed & 0x80) != 0 ? 3u << ((packed & 0x07) + 1) : 0;
}

// Steps over a chain of data sub-blocks; false when the file ends before its terminator.
bool skipSubBlocks(std::span<const std::uint8_t> gif, std::size_t& at) {
    while (at < gif.size()) {
        const std::size_t length = gif[at];
        ++at;
        if (length == 0) {
            return true;
        }
        at += length;
    }
    return false;
}

}  // namespace

std::optional<int> wholeGifFrames(std::span<const std::uint8_t> gif) {
    const std::string_view signature(reinterpret_cast<const char*>(gif.data()),
                                     gif.size() < 6 ? gif.size() : 6);
    if (gif.size() < kScreenDescriptorEnd || (signature != "GIF87a" && signature != "GIF89a")) {
        return std::nullopt;
    }
    std::size_t at = kScreenDescriptorEnd + colourTableSize(gif[10]);
    int frames = 0;
    while (at < gif.size()) {
        switch (gif[at]) {
            case kExtension:
                at += 2;  // the introducer and the extension's label
                if (!skipSubBlocks(gif, at)) {
                    return frames;
                }
                break;
            case kImageDescriptor:
                if (at + kImageDescriptorSize > gif.size()) {
                    return frames;
                }
                at += kImageDescriptorSize + colourTableSize(gif[at + 9]) + 1;  // + LZW code size
                if (!skipSubBlocks(gif, at)) {
                    return frames;
                }
                ++frames;
                break;
            default:  // the trailer, or a block no GIF has: what came before is whole
                return frames;
        }
    }
    return frames;
}

}  // namespace dotwall

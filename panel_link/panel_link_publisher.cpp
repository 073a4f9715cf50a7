#include "panel_link/panel_link_publisher.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "panel_link/panel_link.h"

namespace dotwall::panel_link {

namespace {

// Writes the header and blank pixels of a link for the profile's panel into fresh memory.
void writeLink(void* address, const PanelProfile& profile, std::uint32_t greyLevels) {
    constexpr auto relaxed = std::memory_order_relaxed;
    LinkHeader& link = *new (address) LinkHeader{};
    const std::size_t words = wordsPerLine(static_cast<std::uint32_t>(profile.width), greyLevels) *
                              static_cast<std::size_t>(profile.lines);
    new (pixelWords(link)) std::atomic<std::uint64_t>[words] {};
    link.version.store(LinkHeader::kVersion, relaxed);
    link.width.store(static_cast<std::uint32_t>(profile.width), relaxed);
    link.lines.store(static_cast<std::uint32_t>(profile.lines), relaxed);
    link.greyLevels.store(greyLevels, relaxed);
    std::array<std::uint64_t, LinkHeader::kNameWords> panelName{};
    std::memcpy(panelName.data(), profile.name.data(),
                std::min(profile.name.size(), sizeof panelName - 1));
    for (std::size_t word = 0; word < panelName.size(); ++word) {
        link.name[word].store(panelName[word], relaxed);
    }
    link.magic.store(LinkHeader::kMagic, std::memory_order_release);
}

}  // namespace

LinkPublisher::LinkPublisher(std::string name, const PanelProfile& profile)
    : name_(std::move(name)),
      greyLevels_(static_cast<std::uint32_t>(profile.greyLevels)),
      memory_(
          SharedMemory::create(name_,
                               linkBytes(static_cast<std::uint32_t>(profile.width),
                                         static_cast<std::uint32_t>(profile.lines), greyLevels_),
                               [&](void* address) { writeLink(address, profile, greyLevels_); })),
      link_(*std::launder(static_cast<LinkHeader*>(memory_.address()))) {}

LinkPublisher::~LinkPublisher() {
    memory_.removeName(name_);
}

void LinkPublisher::publishFrame(const port_signals::StreamDecoder& decoder) {
    constexpr auto relaxed = std::memory_order_relaxed;
    publishedFrames_ = decoder.frames();
    const std::uint64_t sequence = link_.sequence.load(relaxed);
    link_.sequence.store(sequence + 1, relaxed);
    std::atomic_thread_fence(std::memory_order_release);

    const std::int64_t now = clockNow();
    rate_.frameArrived(static_cast<std::uint64_t>(publishedFrames_), now);
    link_.frames.store(static_cast<std::uint64_t>(publishedFrames_), relaxed);
    link_.lastFrameAt.store(now, relaxed);
    link_.milliFramesPerSecond.store(static_cast<std::uint64_t>(rate_.perSecond() * 1000), relaxed);
    const PanelPicture& frame = decoder.seenPicture();
    const int bits = bitsPerPixel(greyLevels_);
    const int pixelsPerWord = 64 / bits;
    std::atomic<std::uint64_t>* word = pixelWords(link_);
    for (int y = 0; y < frame.height(); ++y) {
        for (int left = 0; left < frame.width(); left += pixelsPerWord, ++word) {
            std::uint64_t pixels = 0;
            for (int i = 0; i < pixelsPerWord && left + i < frame.width(); ++i) {
                pixels |= static_cast<std::uint64_t>(frame.level(left + i, y)) << (bits * i);
            }
            word->store(pixels, relaxed);
        }
    }
    link_.sequence.store(sequence + 2, std::memory_order_release);
}

}  // namespace dotwall::panel_link

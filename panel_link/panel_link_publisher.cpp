#include "panel_link/panel_link_publisher.h"

#include <new>

#include "panel_link/panel_link.h"

namespace dotwall::panel_link {

LinkPublisher::LinkPublisher(std::string name)
    : name_(std::move(name)),
      memory_(SharedMemory::create(name_, sizeof(LinkLayout))),
      link_(*new (memory_.address()) LinkLayout{}) {
    link_.version.store(LinkLayout::kVersion, std::memory_order_relaxed);
    link_.magic.store(LinkLayout::kMagic, std::memory_order_release);
}

LinkPublisher::~LinkPublisher() {
    memory_.removeName(name_);
}

void LinkPublisher::publishFrame(const port_signals::StreamDecoder& decoder) {
    constexpr auto relaxed = std::memory_order_relaxed;
    publishedFrames_ = decoder.frames();
    const std::uint64_t sequence = link_.sequence.load(relaxed);
    link_.sequence.store(sequence + 1, relaxed);
    std::atomic_thread_fence(std::memory_order_release);

    link_.frames.store(static_cast<std::uint64_t>(publishedFrames_), relaxed);
    link_.lastFrameAt.store(clockNow(), relaxed);
    const PanelPicture& frame = decoder.lastFrame();
    for (int word = 0; word < LinkLayout::kWords; ++word) {
        const int y = word / LinkLayout::kWordsPerLine;
        const int left = 64 * (word % LinkLayout::kWordsPerLine);
        std::uint64_t bits = 0;
        for (int bit = 0; bit < 64; ++bit) {
            bits |= std::uint64_t{frame.lit(left + bit, y)} << bit;
        }
        link_.pixels[static_cast<std::size_t>(word)].store(bits, relaxed);
    }
    link_.sequence.store(sequence + 2, std::memory_order_release);
}

}  // namespace dotwall::panel_link

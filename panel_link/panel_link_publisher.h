#pragma once

#include <string>

#include "frames/port_signals.h"
#include "panel_link/panel_link_layout.h"
#include "panel_link/shared_memory.h"

namespace dotwall::panel_link {

// The virtual port's side of the link: makes a fresh object under the name, and after each
// write publishes the decoder's counters and each frame it takes. It never waits for a
// reader and allocates nothing after it is made. Its end removes the object, unless a newer
// publisher has taken the name.
class LinkPublisher {
  public:
    // Raises RuntimeError naming the object when it cannot be made.
    explicit LinkPublisher(std::string name);
    ~LinkPublisher();
    LinkPublisher(const LinkPublisher&) = delete;
    LinkPublisher& operator=(const LinkPublisher&) = delete;

    void afterWrite(const port_signals::StreamDecoder& decoder) {
        constexpr auto relaxed = std::memory_order_relaxed;
        link_.writes.store(++writes_, relaxed);
        link_.linesPerFrame.store(static_cast<std::uint64_t>(decoder.linesPerFrame()), relaxed);
        link_.pixelsPerLine.store(static_cast<std::uint64_t>(decoder.pixelsPerLine()), relaxed);
        const port_signals::StreamDecoder::Faults& faults = decoder.faults();
        link_.unusedLineSet.store(static_cast<std::uint64_t>(faults.unusedLineSet), relaxed);
        link_.nibbleChangedOnClock.store(static_cast<std::uint64_t>(faults.nibbleChangedOnClock),
                                         relaxed);
        link_.linesOfWrongLength.store(static_cast<std::uint64_t>(faults.linesOfWrongLength),
                                       relaxed);
        link_.framesOfWrongLength.store(static_cast<std::uint64_t>(faults.framesOfWrongLength),
                                        relaxed);
        if (decoder.frames() != publishedFrames_) [[unlikely]] {
            publishFrame(decoder);
        }
    }

  private:
    void publishFrame(const port_signals::StreamDecoder& decoder);

    std::string name_;
    SharedMemory memory_;
    LinkLayout& link_;
    std::uint64_t writes_ = 0;
    long publishedFrames_ = 0;
};

}  // namespace dotwall::panel_link

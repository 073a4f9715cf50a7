#pragma once

#include <string>

#include "frames/panel_profile.h"
#include "frames/port_signals.h"
#include "panel_link/frame_rate.h"
#include "panel_link/panel_link_layout.h"
#include "panel_link/shared_memory.h"

namespace dotwall::panel_link {

// The virtual port's side of the link: makes a fresh object under the name for a panel of the
// profile, and after each write publishes the decoder's counters and, with each frame it
// takes, the picture the eye sees (its greys, on a panel of more grey levels). It
// never waits for a reader and allocates nothing after it is made. Its end removes the
// object, unless a newer publisher has taken the name.
class LinkPublisher {
  public:
    // Raises RuntimeError naming the object when it cannot be made.
    LinkPublisher(std::string name, const PanelProfile& profile);
    ~LinkPublisher();
    LinkPublisher(const LinkPublisher&) = delete;
    LinkPublisher& operator=(const LinkPublisher&) = delete;

    void afterWrite(const port_signals::StreamDecoder& decoder) {
        constexpr auto relaxed = std::memory_order_relaxed;
        auto store = [](std::atomic<std::uint64_t>& field, long value) {
            field.store(static_cast<std::uint64_t>(value), relaxed);
        };
        link_.writes.store(++writes_, relaxed);
        store(link_.linesPerFrame, decoder.linesPerFrame());
        store(link_.pixelsPerLine, decoder.pixelsPerLine());
        const port_signals::StreamDecoder::Faults& faults = decoder.faults();
        store(link_.unusedLineSet, faults.unusedLineSet);
        store(link_.nibbleChangedOnClock, faults.nibbleChangedOnClock);
        store(link_.linesOfWrongLength, faults.linesOfWrongLength);
        store(link_.framesOfWrongLength, faults.framesOfWrongLength);
        store(link_.acNotTurnedOver, faults.acNotTurnedOver);
        if (decoder.frames() != publishedFrames_) [[unlikely]] {
            publishFrame(decoder);
        }
    }

  private:
    void publishFrame(const port_signals::StreamDecoder& decoder);

    std::string name_;
    std::uint32_t greyLevels_;
    SharedMemory memory_;
    LinkHeader& link_;
    std::uint64_t writes_ = 0;
    long publishedFrames_ = 0;
    FrameRate rate_;
};

}  // namespace dotwall::panel_link

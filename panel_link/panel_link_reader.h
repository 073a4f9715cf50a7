#pragma once

#include <optional>
#include <string>

#include "panel_link/panel_link.h"
#include "panel_link/panel_link_layout.h"
#include "panel_link/shared_memory.h"

namespace dotwall::panel_link {

// A viewer's side of the link. It reads an object only after checking its owner, size,
// magic number and version, and follows the name to the newest object, as each DotwallLpt
// run makes its own.
class LinkReader {
  public:
    explicit LinkReader(std::string name) : name_(std::move(name)) {}

    // Opens the object the name leads to now, unless it is the one already open, and says
    // whether one is open. An object that is refused leaves none open and its reason in
    // refusal(); a name that leads nowhere leaves both empty.
    bool follow();
    const std::string& refusal() const { return refusal_; }
    const std::string& name() const { return name_; }

    // The counters of the open object; all 0 when none is open.
    Counters counters() const;

    // The frame published since the last one this reader returned, copied whole; nullopt
    // when there is none, or when the publisher was writing a frame at every look (it
    // does not wait, so the next call looks again).
    std::optional<Frame> newFrame();

  private:
    const LinkLayout* link() const {
        return memory_ ? static_cast<const LinkLayout*>(memory_->address()) : nullptr;
    }

    std::string name_;
    std::optional<SharedMemory> memory_;
    std::string refusal_;
    std::uint64_t returnedSequence_ = 0;
    std::array<std::uint64_t, LinkLayout::kWords> words_{};
};

}  // namespace dotwall::panel_link

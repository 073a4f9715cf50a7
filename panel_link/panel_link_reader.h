#pragma once

#include <optional>
#include <string>
#include <vector>

#include "panel_link/panel_link.h"
#include "panel_link/panel_link_layout.h"
#include "panel_link/shared_memory.h"

namespace dotwall::panel_link {

// A viewer's side of the link. It reads an object only after checking its owner, size,
// magic number, version and panel size, and follows the name to the newest object, as each
// DotwallLpt run makes its own.
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
    // Whether the program that made the open object still lives (see SharedMemory).
    bool publisherLives() const { return memory_ && memory_->makerLives(); }
    // The panel the open object shows: its profile's name, its width, lines and grey levels.
    const std::string& panelName() const { return panelName_; }
    int width() const { return width_; }
    int lines() const { return lines_; }
    int greyLevels() const { return greyLevels_; }

    // The frame published since the last one this reader returned, copied whole; nullopt
    // when there is none, or when the publisher was writing a frame at every look (it
    // does not wait, so the next call looks again).
    std::optional<Frame> newFrame();

  private:
    const LinkHeader* link() const {
        return memory_ ? static_cast<const LinkHeader*>(memory_->address()) : nullptr;
    }
    void takePanel(const SharedMemory& opened);

    std::string name_;
    std::optional<SharedMemory> memory_;
    std::string refusal_;
    std::string panelName_;
    int width_ = 0;
    int lines_ = 0;
    int greyLevels_ = 2;
    std::uint64_t returnedSequence_ = 0;
    std::vector<std::uint64_t> words_;
};

}  // namespace dotwall::panel_link

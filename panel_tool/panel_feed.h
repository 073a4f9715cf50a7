#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "frames/panel_picture.h"
#include "frames/panel_profile.h"
#include "panel_link/panel_link_reader.h"

namespace dotwall::panel_tool {

// What DotwallPanel shows: the panel's picture and a status line under it. Live, they come
// from the virtual panel's link, looked at again and again; from a frame file, they are
// fixed.
class PanelFeed {
  public:
    // The live panel under the link's object name. `startCommand` tells the user how to start
    // DotwallLpt with the virtual library while nothing is there.
    PanelFeed(std::string linkName, std::string startCommand);

    // The picture a frame file puts on the panel, decoded as DotwallFrame preview decodes
    // it: a panel's packed frame with its profile, else a dual-scan or DotwallLpt's
    // single-scan frame. Raises RuntimeError naming the file when it is no such frame.
    static PanelFeed ofFrameFile(const std::filesystem::path& framePath,
                                 const std::optional<PanelProfile>& profile);

    bool live() const { return reader_.has_value(); }

    // Looks at the link once, `now` by panel_link::clockNow(); true when a new whole frame
    // came and the picture changed.
    bool look(std::int64_t now);

    // Whether the picture is a whole frame yet (a file's at once; live, the first one taken).
    bool hasFrame() const { return hasFrame_; }
    // Live: whether the panel's object is there but the program that fed it is gone without
    // removing it (killed), so that its last frame is no live picture.
    bool publisherGone() const { return publisherGone_; }
    // Live: why the object under the panel's name is not read; empty when it is, or there is
    // none.
    const std::string& refusal() const;
    // Live: whether the panel's rate is measured (two frames came).
    bool rateMeasured() const;
    const PanelPicture& picture() const { return picture_; }
    const std::string& status() const { return status_; }

  private:
    PanelFeed(PanelPicture picture, std::string status);
    std::string liveStatus(bool attached, std::int64_t now) const;

    std::optional<panel_link::LinkReader> reader_;
    std::string startCommand_;
    PanelPicture picture_;
    bool hasFrame_ = false;
    bool publisherGone_ = false;
    std::string status_;
};

}  // namespace dotwall::panel_tool

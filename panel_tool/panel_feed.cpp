#include "panel_tool/panel_feed.h"

#include <cstdio>

#include "frames/frame_picture.h"
#include "panel_link/frame_rate.h"

namespace dotwall::panel_tool {

PanelFeed::PanelFeed(std::string linkName, std::string startCommand)
    : reader_(std::in_place, std::move(linkName)),
      startCommand_(std::move(startCommand)),
      picture_(dotwallLptProfile().width, dotwallLptProfile().lines) {
    look(0);
}

PanelFeed::PanelFeed(PanelPicture picture, std::string status)
    : picture_(std::move(picture)), hasFrame_(true), status_(std::move(status)) {}

PanelFeed PanelFeed::ofFrameFile(const std::filesystem::path& framePath,
                                 const std::optional<PanelProfile>& profile) {
    PanelPicture picture =
        readFramePicture(framePath, profile ? std::vector{panelFrame(*profile)} : windowFrames());
    const std::string kind = profile ? "a frame of the panel \"" + profile->name + "\""
                             : picture.height() > dotwallLptProfile().lines
                                 ? std::string("a dual-scan frame")
                                 : std::string("a single-scan frame");
    std::string status = framePath.string() + ": the picture of " + kind + ", " +
                         std::to_string(picture.width()) + " x " +
                         std::to_string(picture.height()) + " pixels";
    return PanelFeed(std::move(picture), std::move(status));
}

const std::string& PanelFeed::refusal() const {
    static const std::string none;
    return reader_ ? reader_->refusal() : none;
}

bool PanelFeed::rateMeasured() const {
    return reader_ && reader_->counters().framesPerSecond > 0;
}

bool PanelFeed::look(std::int64_t now) {
    if (!reader_) {
        return false;
    }
    bool changed = false;
    const bool attached = reader_->follow();
    publisherGone_ = attached && !reader_->publisherLives();
    if (attached) {
        if (std::optional<panel_link::Frame> frame = reader_->newFrame()) {
            picture_ = std::move(frame->picture);
            hasFrame_ = changed = true;
        }
    }
    status_ = liveStatus(attached, now);
    return changed;
}

std::string PanelFeed::liveStatus(bool attached, std::int64_t now) const {
    const std::string waiting =
        "Waiting for DotwallLpt with the virtual library. Start it with:\n" + startCommand_;
    if (!reader_->refusal().empty()) {
        return reader_->refusal() + "\n" + waiting;
    }
    if (!attached) {
        return waiting;
    }
    if (publisherGone_) {
        return "The program that fed the panel \"" + reader_->panelName() +
               "\" is gone without removing it (was it killed?); its last frame is shown.\n" +
               waiting;
    }
    const panel_link::Counters counters = reader_->counters();
    if (counters.writes == 0) {
        return "DotwallLpt is running with the virtual library: Convert, then GO! to stream.";
    }
    const port_signals::StreamDecoder::Faults& faults = counters.faults;
    char text[600];
    // No frame in the last second: the stream stands still.
    const double framesPerSecond = now - counters.lastFrameAt > panel_link::FrameRate::kSecond
                                       ? 0.0
                                       : counters.framesPerSecond;
    // A panel of more grey levels shows its picture once per cycle of levels - 1 frames.
    const int levels = reader_->greyLevels();
    char rate[120];
    const int said = levels > 2 ? std::snprintf(rate, sizeof rate, "%d greys, ", levels) : 0;
    char* rest = rate + said;
    const std::size_t room = sizeof rate - static_cast<std::size_t>(said);
    if (counters.framesPerSecond <= 0) {
        std::snprintf(rest, room, "frames/s not measured yet");
    } else if (levels > 2) {
        std::snprintf(rest, room, "%.1f cycles/s, %.1f frames/s", framesPerSecond / (levels - 1),
                      framesPerSecond);
    } else {
        std::snprintf(rest, room, "%.1f frames/s", framesPerSecond);
    }
    std::snprintf(text, sizeof text,
                  "Panel \"%s\", %d x %d: %s, %llu frames; %llu lines per frame, %llu "
                  "pixels per line\nFaults: %ld lines of wrong length, %ld frames of wrong "
                  "length, %ld writes with an unused line set, %ld nibbles changed on the clock, "
                  "%ld times the AC line not turned over as it should",
                  reader_->panelName().c_str(), reader_->width(), reader_->lines(), rate,
                  static_cast<unsigned long long>(counters.frames),
                  static_cast<unsigned long long>(counters.linesPerFrame),
                  static_cast<unsigned long long>(counters.pixelsPerLine),
                  faults.linesOfWrongLength, faults.framesOfWrongLength, faults.unusedLineSet,
                  faults.nibbleChangedOnClock, faults.acNotTurnedOver);
    return text;
}

}  // namespace dotwall::panel_tool

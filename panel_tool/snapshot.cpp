#include "panel_tool/snapshot.h"

#include <optional>
#include <thread>

#include "base/runtime_error.h"
#include "panel_link/panel_link.h"
#include "picture/area_image.h"
#include "picture/picture_writer.h"

namespace dotwall::panel_tool {

void writeSnapshot(PanelFeed& feed, int scale, const std::filesystem::path& path,
                   std::chrono::milliseconds patience) {
    using Clock = std::chrono::steady_clock;
    const auto giveUp = Clock::now() + patience;
    std::optional<Clock::time_point> firstFrameAt;
    // Live, the status tells the publisher's rate, measured once two frames came; the second
    // is waited for a little while from the first.
    auto enough = [&] {
        if (!feed.hasFrame()) {
            return false;
        }
        firstFrameAt = firstFrameAt.value_or(Clock::now());
        return feed.rateMeasured() || !feed.live() || Clock::now() > *firstFrameAt + kForARate;
    };
    while (!enough() && !feed.publisherGone() && feed.refusal().empty() && Clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        feed.look(panel_link::clockNow());
    }
    if (!feed.refusal().empty()) {
        throw RuntimeError(ErrorKind::ForeignObject, feed.refusal());
    }
    if (feed.publisherGone()) {
        throw RuntimeError(
            ErrorKind::NoStream,
            "No program feeds the panel, so no snapshot was written. " + feed.status());
    }
    if (!feed.hasFrame()) {
        throw RuntimeError(ErrorKind::TimedOut,
                           "No whole frame came within " + std::to_string(patience.count()) +
                               " ms, so no snapshot was written. " + feed.status());
    }
    writePicture(panelImage(feed.picture(), scale), path, "the snapshot");
}

}  // namespace dotwall::panel_tool

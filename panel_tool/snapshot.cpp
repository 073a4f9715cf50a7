#include "panel_tool/snapshot.h"

#include <thread>

#include "base/runtime_error.h"
#include "panel_link/panel_link.h"
#include "picture/area_image.h"
#include "picture/picture_writer.h"

namespace dotwall::panel_tool {

void writeSnapshot(PanelFeed& feed, int scale, const std::filesystem::path& path,
                   std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (!feed.hasFrame() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        feed.look(panel_link::clockNow());
    }
    if (!feed.hasFrame()) {
        throw RuntimeError(ErrorKind::TimedOut,
                           "No whole frame came within " + std::to_string(patience.count()) +
                               " ms, so no snapshot was written. " + feed.status());
    }
    writePicture(panelImage(feed.picture(), scale), path, "the snapshot");
}

}  // namespace dotwall::panel_tool

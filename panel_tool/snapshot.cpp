#include "panel_tool/snapshot.h"

#include <QImageWriter>
#include <thread>

#include "common/panel_link.h"
#include "common/runtime_error.h"
#include "picture/area_image.h"

namespace dotwall::panel_tool {

void writeSnapshot(PanelFeed& feed, int scale, const std::filesystem::path& path,
                   std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (!feed.hasFrame() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        feed.look(panel_link::clockNow());
    }
    if (!feed.hasFrame()) {
        throw RuntimeError(ErrorKind::TypeMismatch,
                           "No whole frame came within " + std::to_string(patience.count()) +
                               " ms, so no snapshot was written. " + feed.status());
    }
    QImageWriter writer(QString::fromStdString(path.string()));
    if (!writer.write(panelImage(feed.picture(), scale))) {
        throw RuntimeError(ErrorKind::FileAccess, "Cannot write the snapshot \"" + path.string() +
                                                      "\": " + writer.errorString().toStdString() +
                                                      ".");
    }
}

}  // namespace dotwall::panel_tool

// DotwallPanel: the virtual panel live, or the picture of a frame file.
#include <QApplication>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "common/panel_link.h"
#include "panel_tool/panel_options.h"
#include "panel_tool/panel_window.h"
#include "panel_tool/snapshot.h"
#include "panel_tool/start_command.h"

namespace {

using namespace dotwall::panel_tool;

constexpr int kDone = 0;
constexpr int kBadInput = 1;
constexpr int kWrongUsage = 2;

PanelFeed feedFor(const PanelOptions& options) {
    if (options.frameFile) {
        return PanelFeed::ofFrameFile(*options.frameFile);
    }
    const std::filesystem::path viewer = std::filesystem::read_symlink("/proc/self/exe");
    return PanelFeed(dotwall::panel_link::objectName(), startCommand(viewer.parent_path()));
}

}  // namespace

int main(int argc, char** argv) {
    PanelOptions options;
    try {
        options = parsePanelOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "DotwallPanel: %s\nTry 'DotwallPanel --help'.\n", error.what());
        return kWrongUsage;
    }
    if (options.help) {
        std::fputs(kPanelHelp, stdout);
        return kDone;
    }
    try {
        PanelFeed feed = feedFor(options);
        if (options.snapshot) {
            // No QApplication: writing a picture needs no window system.
            writeSnapshot(feed, options.scale, *options.snapshot);
            std::puts(feed.status().c_str());
            return kDone;
        }
        QApplication application(argc, argv);
        PanelWindow window(std::move(feed), options.scale);
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {  // a RuntimeError, or the file system's own
        std::fprintf(stderr, "DotwallPanel: %s\n", error.what());
        return kBadInput;
    }
}

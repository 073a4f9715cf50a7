// DotwallPanel: the virtual panel live, or the picture of a frame file.
#include <QApplication>
#include <cstdio>
#include <filesystem>

#include "base/whole_file.h"
#include "command_line/command_line.h"
#include "panel_link/panel_link.h"
#include "panel_tool/panel_window.h"
#include "panel_tool/snapshot.h"
#include "panel_tool/start_command.h"
#include "picture/picture_writer.h"
#include "widgets/close_on_signals.h"

namespace {

using namespace dotwall;

const command_line::CommandLine kCommandLine(
    "DotwallPanel", "",
    "Shows the virtual panel live: the picture DotwallLpt puts on the wire when it runs with "
    "the virtual port library, with frames per second, lines per frame, pixels per line and "
    "the faults a panel could not make sense of. With FRAME it shows the picture that frame "
    "puts on the panel instead.",
    {{"FRAME",
      "A dual-scan frame file (38402 bytes) or a single-scan frame (38560 bytes), or with "
      "--panel that panel's packed frame.",
      false}},
    {{{"scale"}, "K", "Draws each pixel as a K x K square, K from 1 to 4."},
     {{"panel"},
      "PROFILE",
      "The panel whose packed frame FRAME is: a profile file (JSON) or a built-in's name. The "
      "live panel is the one the virtual port library was given (DOTWALL_PANEL)."},
     {{"snapshot"},
      "PICTURE",
      "Writes the picture shown (the format follows the suffix, PNG without one) after the "
      "first whole frame, at once for FRAME, prints the status line and ends; it waits 10 "
      "seconds at most."}});

panel_tool::PanelFeed feedFor(const command_line::ParsedLine& line) {
    if (const std::optional<std::string> frameFile = line.argument(0)) {
        const std::optional<std::string> panel = line.value("panel");
        return panel_tool::PanelFeed::ofFrameFile(
            *frameFile, panel ? std::optional(loadPanelProfile(*panel)) : std::nullopt);
    }
    const std::filesystem::path viewer = std::filesystem::read_symlink("/proc/self/exe");
    return panel_tool::PanelFeed(panel_link::objectName(),
                                 panel_tool::startCommand(viewer.parent_path()));
}

}  // namespace

int main(int argc, char** argv) {
    return command_line::runProgram("DotwallPanel", [&] {
        const auto line = kCommandLine.parse({argv + 1, argv + argc});
        if (!line) {
            return command_line::kDone;
        }
        const int scale = static_cast<int>(line->number("scale", 1, 4, 1));
        if (line->isSet("panel") && !line->argument(0)) {
            throw command_line::wrongUsage(
                "--panel goes with FRAME: the live panel is the one the virtual port library "
                "was given (DOTWALL_PANEL)");
        }
        const std::optional<std::string> snapshot = line->value("snapshot");
        if (snapshot) {
            writableFormat(*snapshot, "the snapshot");
        }
        panel_tool::PanelFeed feed = feedFor(*line);
        if (snapshot) {
            refuseToOverwriteAnInput(
                *snapshot, "the snapshot",
                {line->argument(0).value_or(""), line->value("panel").value_or("")});
            // No QApplication: writing a picture needs no window system.
            panel_tool::writeSnapshot(feed, scale, *snapshot);
            std::puts(feed.status().c_str());
            return command_line::kDone;
        }
        QApplication application(argc, argv);
        panel_tool::PanelWindow window(std::move(feed), scale);
        const CloseOnSignals closing(&window);
        window.show();
        return QApplication::exec();
    });
}

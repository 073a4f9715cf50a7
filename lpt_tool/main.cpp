#include <QApplication>

#include "command_line/command_line.h"
#include "lpt_tool/start.h"

int main(int argc, char** argv) {
    using namespace dotwall;
    const command_line::CommandLine commandLine(
        "DotwallLpt", "",
        "Streams a picture to a single-scan LCD panel on the parallel port, frame after frame: "
        "Convert packs it, GO! streams it, Stop ends the stream.",
        {{"PICTURE", "A picture to show instead of the stored one.", false}}, {});
    // The command line is read before the window system is reached, so that help and wrong
    // usage are told without a display.
    return command_line::runProgram("DotwallLpt", [&] {
        const auto line = commandLine.parse({argv + 1, argv + argc});
        if (!line) {
            return command_line::kDone;
        }
        QApplication application(argc, argv);
        return lpt_tool::runDotwallLpt({}, line->argument(0));
    });
}

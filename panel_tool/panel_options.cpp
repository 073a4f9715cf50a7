#include "panel_tool/panel_options.h"

#include <QCommandLineParser>

namespace dotwall::panel_tool {

const char* const kPanelHelp =
    "Usage: DotwallPanel [FRAME] [--scale K] [--snapshot PICTURE.png]\n"
    "Shows the virtual panel live: the picture DotwallLpt puts on the wire when it runs with\n"
    "the virtual port library, with frames per second, lines per frame, pixels per line and\n"
    "the faults a panel could not make sense of. With FRAME, a dual-scan frame file (38402\n"
    "bytes) or a single-scan frame (38560 bytes), it shows the picture that frame puts on\n"
    "the panel instead.\n"
    "\n"
    "  --scale K              draws each pixel as a K x K square, K from 1 to 4\n"
    "  --snapshot PICTURE.png writes the picture shown, after the first whole frame (at\n"
    "                         once for FRAME), prints the status line and ends; it waits\n"
    "                         10 seconds at most\n"
    "\n"
    "Exit status: 0 done, 1 bad input or no frame to write, 2 wrong usage.\n";

PanelOptions parsePanelOptions(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "");
    const QCommandLineOption scale("scale", "", "K");
    const QCommandLineOption snapshot("snapshot", "", "PICTURE");
    parser.addOptions({help, scale, snapshot});
    QStringList words{"DotwallPanel"};
    for (const std::string& word : arguments) {
        words.append(QString::fromStdString(word));
    }
    if (!parser.parse(words)) {
        throw UsageError(parser.errorText().toStdString());
    }
    PanelOptions options;
    options.help = parser.isSet(help);
    const QStringList frames = parser.positionalArguments();
    if (frames.size() > 1) {
        throw UsageError("one frame file only; \"" + frames[1].toStdString() +
                         "\" is one too many");
    }
    if (!frames.isEmpty()) {
        options.frameFile = frames.front().toStdString();
    }
    if (parser.isSet(scale)) {
        bool whole = false;
        options.scale = parser.value(scale).toInt(&whole);
        if (!whole || options.scale < 1 || options.scale > 4) {
            throw UsageError("--scale takes a whole number from 1 to 4, not \"" +
                             parser.value(scale).toStdString() + "\"");
        }
    }
    if (parser.isSet(snapshot)) {
        options.snapshot = parser.value(snapshot).toStdString();
        if (options.snapshot->empty()) {
            throw UsageError("--snapshot needs a file name, not an empty one");
        }
    }
    return options;
}

}  // namespace dotwall::panel_tool

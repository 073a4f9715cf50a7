#include "frame_tool/command_line.h"

#include <QCommandLineParser>
#include <charconv>
#include <limits>
#include <map>

namespace dotwall::frame_tool {

namespace {

const std::map<std::string, Command> kCommands = {{"usb", Command::Usb},
                                                  {"lpt", Command::Lpt},
                                                  {"stream", Command::Stream},
                                                  {"preview", Command::Preview},
                                                  {"play", Command::Play}};

// The parser sees each word byte for byte (Latin-1 gives every byte a character of its own),
// so a file name comes back exactly as the system gave it, whatever its encoding.
QString parserWord(const std::string& word) {
    return QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
}

std::string givenWord(const QString& word) {
    return word.toLatin1().toStdString();
}

long wholeNumber(const std::string& option, const QString& number, long lowest, long highest) {
    const std::string text = givenWord(number);
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > highest) {
        throw UsageError(option + " takes a whole number from " + std::to_string(lowest) + " to " +
                         std::to_string(highest) + ", not \"" + text + "\"");
    }
    return value;
}

const char* defaultOutput(Command command) {
    switch (command) {
        case Command::Usb:
            return "screen.bin";
        case Command::Lpt:
            return "lpt_frame.bin";
        case Command::Stream:
            return "lpt_stream.bin";
        case Command::Preview:
        case Command::Play:
            break;
    }
    return "";
}

}  // namespace

Invocation parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        throw UsageError("no command given");
    }
    const std::string& first = arguments.front();
    Invocation invocation;
    if (first == "--help" || first == "-h") {
        invocation.help = true;
        return invocation;
    }
    const auto named = kCommands.find(first);
    if (named == kCommands.end()) {
        throw UsageError("unknown command \"" + first + "\"");
    }
    const Command command = named->second;
    invocation.command = command;

    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "");
    const QCommandLineOption output({"o", "output"}, "", "FILE");
    const QCommandLineOption frames("frames", "", "N");
    const QCommandLineOption scale("scale", "", "K");
    parser.addOption(help);
    if (command != Command::Play) {  // play streams to the port and writes no file
        parser.addOption(output);
    }
    if (command == Command::Stream || command == Command::Play) {
        parser.addOption(frames);
    }
    if (command == Command::Preview) {
        parser.addOption(scale);
    }
    QStringList words{"DotwallFrame"};
    for (auto word = arguments.begin() + 1; word != arguments.end(); ++word) {
        words.append(parserWord(*word));
    }
    if (!parser.parse(words)) {
        throw UsageError(givenWord(parser.errorText()));
    }
    if (parser.isSet(help)) {
        invocation.help = true;
        return invocation;
    }
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty()) {
        throw UsageError(first + " needs an input file");
    }
    if (inputs.size() > 1) {
        throw UsageError("one input file only; \"" + givenWord(inputs[1]) + "\" is one too many");
    }
    invocation.input = givenWord(inputs.front());
    const bool writesFile = command != Command::Play;
    if (writesFile && parser.isSet(output)) {
        invocation.output = givenWord(parser.value(output));
        if (invocation.output.empty()) {
            // Not the default name: a script's empty variable must not write screen.bin.
            throw UsageError("-o needs a file name, not an empty one");
        }
    } else if (command == Command::Preview) {
        throw UsageError("preview needs -o PICTURE.png");
    } else if (writesFile) {
        invocation.output = defaultOutput(command);
    }
    if (command == Command::Stream && !parser.isSet(frames)) {
        throw UsageError("stream needs --frames N");
    }
    if ((command == Command::Stream || command == Command::Play) && parser.isSet(frames)) {
        invocation.frames = wholeNumber("--frames", parser.value(frames), 1, 1'000'000);
    }
    if (command == Command::Preview && parser.isSet(scale)) {
        invocation.scale = static_cast<int>(wholeNumber("--scale", parser.value(scale), 1, 16));
    }
    return invocation;
}

std::string helpText(std::optional<Command> command) {
    if (!command) {
        return "Usage: DotwallFrame COMMAND [OPTIONS]\n"
               "Packs pictures into LCD panel frames exactly as DotwallUsb and DotwallLpt do,\n"
               "and shows the picture a frame puts on the panel.\n"
               "\n"
               "Commands:\n"
               "  usb PICTURE [-o FILE]                DotwallUsb's 38402-byte frame file\n"
               "  lpt PICTURE [-o FILE]                DotwallLpt's 38560-byte frame\n"
               "  stream PICTURE --frames N [-o FILE]  the port bytes GO! sends, N frames\n"
               "  preview FRAME -o PICTURE.png [--scale K]  the picture the panel shows\n"
               "  play PICTURE [--frames N]            streams to the panel as GO! does\n"
               "\n"
               "'DotwallFrame COMMAND --help' tells more of a command.\n"
               "Exit status: 0 done, 1 bad input or output, 2 wrong usage.\n";
    }
    switch (*command) {
        case Command::Usb:
            return "Usage: DotwallFrame usb PICTURE [-o FILE]\n"
                   "Writes the frame file DotwallUsb saves after File, Open PICTURE, Convert,\n"
                   "Save: the picture in black and white (error diffusion), at the top-left of\n"
                   "the 640 x 480 area on the window-background colour, packed as the dual-scan\n"
                   "frame; 38402 bytes. FILE defaults to screen.bin. Like DotwallUsb it keeps\n"
                   "the tail of a longer file.\n";
        case Command::Lpt:
            return "Usage: DotwallFrame lpt PICTURE [-o FILE]\n"
                   "Writes the frame DotwallLpt's Convert packs when its 9650 x 3660-twip\n"
                   "picture area shows PICTURE at its top-left on white: 241 lines of 160\n"
                   "bytes (38560), test mark included. FILE defaults to lpt_frame.bin.\n";
        case Command::Stream:
            return "Usage: DotwallFrame stream PICTURE --frames N [-o FILE]\n"
                   "Writes the bytes GO! sends to the parallel port for the frame of PICTURE\n"
                   "(as 'lpt' packs it): N whole frames of 77363 bytes, nothing else.\n"
                   "N is 1 to 1000000. FILE defaults to lpt_stream.bin.\n";
        case Command::Preview:
            return "Usage: DotwallFrame preview FRAME -o PICTURE.png [--scale K]\n"
                   "Draws the picture a panel shows for FRAME, a dual-scan frame file (38402\n"
                   "bytes) or a single-scan frame (38560 bytes): lit pixels white, line by line\n"
                   "in the order the panel receives them. --scale K (1 to 16) draws each pixel\n"
                   "as a K x K square for a closer look. The picture's format follows the\n"
                   "suffix of its name (PNG when Qt knows no other).\n";
        case Command::Play:
            return "Usage: DotwallFrame play PICTURE [--frames N]\n"
                   "Streams the frame of PICTURE (as 'lpt' packs it) to the panel on the\n"
                   "parallel port, as DotwallLpt's GO! does, through the same port library and\n"
                   "driver start and stop, without a window: N frames (1 to 1000000), or until\n"
                   "SIGINT or SIGTERM, after which it finishes the frame, writes 0 and stops\n"
                   "the driver. Exit status 0; 1 when the driver does not start.\n";
    }
    return {};
}

}  // namespace dotwall::frame_tool

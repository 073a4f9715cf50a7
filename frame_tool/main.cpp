// DotwallFrame: the windows' packing from the command line.
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "frame_tool/command_line.h"
#include "frame_tool/frame_commands.h"
#include "frame_tool/play.h"
#include "frame_tool/stop_signals.h"
#include "frame_tool/whole_file.h"

namespace {

using namespace dotwall::frame_tool;

constexpr int kDone = 0;
constexpr int kBadInput = 1;
constexpr int kWrongUsage = 2;
constexpr int kStoppedBySignal = 128;  // plus the signal's number, as a shell reports it

// Qt's warnings (e.g. a decoder's notes on a damaged picture) would bury the one line a
// failure prints.
void keepOnlyQtsFatalMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || type == QtCriticalMsg) {
        std::fprintf(stderr, "DotwallFrame: %s\n", qPrintable(message));
    }
}

void run(const Invocation& invocation) {
    switch (*invocation.command) {
        case Command::Usb:
            writeUsbFrame(invocation.input, invocation.output);
            break;
        case Command::Lpt:
            writeLptFrame(invocation.input, invocation.output);
            break;
        case Command::Stream:
            writeStream(invocation.input, invocation.frames, invocation.output);
            break;
        case Command::Preview:
            writePreview(invocation.input, invocation.output, invocation.scale);
            break;
        case Command::Play:
            playPicture(invocation.input, invocation.frames);
            break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    Invocation invocation;
    try {
        invocation = parseCommandLine(arguments);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "DotwallFrame: %s\nTry 'DotwallFrame --help'.\n", error.what());
        return kWrongUsage;
    }
    if (invocation.help) {
        std::fputs(helpText(invocation.command).c_str(), stdout);
        return kDone;
    }

    // No QGuiApplication: Qt's picture readers and writers work without one, and without a
    // platform the application palette is Qt's default, which resolves the
    // window-background colour as DotwallUsb's window does without a desktop theme (on
    // the offscreen platform). Starting the offscreen platform and shutting it down again
    // would cost more than all the packing.
    qInstallMessageHandler(keepOnlyQtsFatalMessages);
    const StopSignals stopSignals;
    try {
        run(invocation);
    } catch (const Stopped& stopped) {
        return kStoppedBySignal + stopped.signal;
    } catch (const std::exception& error) {  // a RuntimeError, or the file system's own
        std::fprintf(stderr, "DotwallFrame: %s\n", error.what());
        return kBadInput;
    }
    return kDone;
}

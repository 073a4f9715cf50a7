// DotwallFrame: the windows' packing from the command line.
#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "frame_commands.h"
#include "runtime_error.h"

namespace {

using namespace dotwall::frame_tool;

constexpr int kDone = 0;
constexpr int kBadInput = 1;
constexpr int kWrongUsage = 2;

// Qt's own notes (e.g. about the runtime folder) would bury the one line a failure prints.
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

    // No window is ever shown; the application only provides the picture readers and the
    // palette that resolves the window-background colour, the same as a window's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepOnlyQtsFatalMessages);
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    try {
        run(invocation);
    } catch (const dotwall::RuntimeError& error) {
        std::fprintf(stderr, "DotwallFrame: %s\n", error.what());
        return kBadInput;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "DotwallFrame: %s\n", error.what());
        return kBadInput;
    }
    return kDone;
}

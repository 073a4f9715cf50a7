#include <QApplication>

#include "command_line/command_line.h"
#include "usb_tool/form1.h"
#include "widgets/close_on_signals.h"

int main(int argc, char** argv) {
    using namespace dotwall;
    const command_line::CommandLine commandLine(
        "DotwallUsb", "",
        "Samples a 640 x 480 picture, turns each pixel into one bit and packs it as a dual-scan "
        "frame: File, Open loads a picture, Convert packs it, Save writes the frame file "
        "screen.bin in the working directory, USB sends its first bytes to the USB-to-I/O "
        "board's library (libAVR309.so), and I2C read and I2CWrite call it with the numbers "
        "in their boxes.",
        {}, {});
    // The command line is read before the window system is reached, so that help and wrong
    // usage are told without a display.
    return command_line::runProgram("DotwallUsb", [&] {
        if (!commandLine.parse({argv + 1, argv + argc})) {
            return command_line::kDone;
        }
        QApplication application(argc, argv);
        usb_tool::Form1 window;
        const CloseOnSignals closing(&window);
        window.show();
        return QApplication::exec();
    });
}

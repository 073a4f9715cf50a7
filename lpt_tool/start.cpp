#include "lpt_tool/start.h"

#include <QApplication>

#include "widgets/close_on_signals.h"

namespace dotwall::lpt_tool {

int runDotwallLpt(LptWindowServices services, const std::optional<std::filesystem::path>& picture) {
    Form1 window(std::move(services));
    // Taken before the driver starts, so that a signal while a box is open closes the box and
    // the window, which stops the driver.
    const CloseOnSignals closing(&window, [&window] { window.stopStreamAtOnce(); });
    if (window.startDriver() != DriverStart::Started) {
        return 1;
    }
    if (picture) {
        window.openPicture(*picture);
    }
    if (StopSignals::received() != 0) {
        return 0;  // the window goes unshown, and stops the driver as it goes
    }
    window.show();
    return QApplication::exec();
}

}  // namespace dotwall::lpt_tool

#include "port_tool/start.h"

#include <QApplication>

#include "widgets/close_on_signals.h"

namespace dotwall::port_tool {

int runDotwallLpt(LptWindowServices services, const std::optional<std::filesystem::path>& picture) {
    Form1 window(std::move(services));
    if (window.Form_Load() != LoadOutcome::Started) {
        return 1;
    }
    if (picture) {
        window.openPicture(*picture);
    }
    const CloseOnSignals closing(&window);
    window.show();
    return QApplication::exec();
}

}  // namespace dotwall::port_tool

#include "ports/virtual/virtual_port.h"

#include <cstdlib>

#include "panel_link/panel_link.h"

namespace dotwall::ports {

const char* const kLibraryName = "libWinIo.so (virtual)";
const char* const kDeviceName = "virtual panel";

std::unique_ptr<Device> openDevice() {
    const char* panel = std::getenv("DOTWALL_PANEL");
    const PanelProfile profile =
        loadPanelProfile(panel != nullptr ? panel : std::string(kDotwallLptProfile));
    return std::make_unique<virtual_panel::VirtualPort>(
        panel_link::objectName(), profile,
        virtual_panel::pacingFromEnvironment(profile.writesPerFrame()));
}

}  // namespace dotwall::ports

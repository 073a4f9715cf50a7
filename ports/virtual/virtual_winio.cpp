// The port-access library's ten functions over a virtual port: what DotwallLpt writes to the
// parallel port's data register goes to a panel in software, which DotwallPanel shows.
// Load it in place of the real library (LD_LIBRARY_PATH=build/bin/virtual); it needs no
// privilege and touches no hardware.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "panel_link/panel_link.h"
#include "ports/virtual/virtual_port.h"
#include "ports/winio/data_register.h"

// The ten functions are the library's only exports.
#pragma GCC visibility push(default)
#include "ports/winio/winio.h"
#pragma GCC visibility pop

namespace {

using dotwall::virtual_port::VirtualPort;

constexpr std::int16_t kSuccess = 1;
constexpr std::int16_t kFailure = 0;

// The port from InitializeWinIo to ShutdownWinIo. Like the real port, it is started and
// stopped by one thread while no other writes to it.
std::unique_ptr<VirtualPort> port;

// The one access the panel is wired to; any other is a port that was not granted.
bool reachesThePanel(std::uint16_t address, std::uint8_t size) {
    return port != nullptr && address == dotwall::winio::kDataRegister && size == 1;
}

}  // namespace

extern "C" {

std::int16_t InitializeWinIo() {
    if (port != nullptr) {
        return kSuccess;
    }
    try {
        const char* panel = std::getenv("DOTWALL_PANEL");
        const dotwall::PanelProfile profile = dotwall::loadPanelProfile(
            panel != nullptr ? panel : std::string(dotwall::kDotwallLptProfile));
        port = std::make_unique<VirtualPort>(
            dotwall::panel_link::objectName(), profile,
            dotwall::virtual_port::pacingFromEnvironment(profile.writesPerFrame()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "libWinIo.so (virtual): %s\n", error.what());
        return kFailure;
    }
    return kSuccess;
}

std::int16_t ShutdownWinIo() {
    port.reset();
    return kSuccess;
}

std::int16_t SetPortVal(std::uint16_t address, std::uint32_t value, std::uint8_t size) {
    if (!reachesThePanel(address, size)) {
        return kFailure;
    }
    port->write(static_cast<std::uint8_t>(value));
    return kSuccess;
}

std::int16_t GetPortVal(std::uint16_t address, std::uint32_t* value, std::uint8_t size) {
    if (value == nullptr || !reachesThePanel(address, size)) {
        return kFailure;
    }
    *value = port->lastByte();
    return kSuccess;
}
}

#include "ports/ftdi/adapter_settings.h"

#include <cstdlib>

#include "base/whole_number.h"

namespace dotwall::ports::ftdi {

AdapterSettings settingsFromEnvironment() {
    AdapterSettings settings;
    if (const char* device = std::getenv("DOTWALL_FTDI_DEVICE"); device != nullptr) {
        settings.device = device;
    }
    settings.bytesPerSecond =
        wholeNumberSetting("DOTWALL_FTDI_BYTES_PER_SECOND", kLowestBytesPerSecond,
                           kHighestBytesPerSecond, " bytes per second")
            .value_or(kDefaultBytesPerSecond);
    return settings;
}

}  // namespace dotwall::ports::ftdi

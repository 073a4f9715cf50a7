#include "usb_tool/avr309/avr309.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr std::int32_t kDone = 0;
constexpr std::int32_t kNotAvailable = -1;

}  // namespace

extern "C" {

std::int32_t DoLCDOut(std::uint8_t first, std::uint8_t second, std::uint8_t third,
                      std::uint8_t fourth) {
    std::fprintf(stderr, "DoLCDOut(%u, %u, %u, %u)\n", first, second, third, fourth);
    return kDone;
}

std::int32_t DoI2CRead(std::uint8_t* first, std::uint8_t* second, std::uint8_t* third,
                       std::uint8_t* fourth) {
    std::fprintf(stderr, "DoI2CRead(%u, %u, %u, %u)\n", *first, *second, *third, *fourth);
    return kDone;
}

std::int32_t DoI2CWrite(std::uint8_t value) {
    std::fprintf(stderr, "DoI2CWrite(%u)\n", value);
    return kDone;
}

#define DOTWALL_NOT_AVAILABLE(name) \
    std::int32_t name(void) {       \
        return kNotAvailable;       \
    }

DOTWALL_NOT_AVAILABLE(DoGetInfraCode)
DOTWALL_NOT_AVAILABLE(DoSetDataPortDirection)
DOTWALL_NOT_AVAILABLE(DoGetDataPortDirection)
DOTWALL_NOT_AVAILABLE(DoSetOutDataPort)
DOTWALL_NOT_AVAILABLE(DoGetOutDataPort)
DOTWALL_NOT_AVAILABLE(DoGetInDataPort)
DOTWALL_NOT_AVAILABLE(DoSetDataPortDirections)
DOTWALL_NOT_AVAILABLE(DoGetDataPortDirections)
DOTWALL_NOT_AVAILABLE(DoSetOutDataPorts)
DOTWALL_NOT_AVAILABLE(DoGetOutDataPorts)
DOTWALL_NOT_AVAILABLE(DoGetInDataPorts)
DOTWALL_NOT_AVAILABLE(DoRS232Send)
DOTWALL_NOT_AVAILABLE(DoRS232Read)
DOTWALL_NOT_AVAILABLE(DoSetRS232Baud)
DOTWALL_NOT_AVAILABLE(DoGetRS232Baud)
DOTWALL_NOT_AVAILABLE(DoGetRS232Buffer)
DOTWALL_NOT_AVAILABLE(DoRS232BufferSend)
DOTWALL_NOT_AVAILABLE(DoSetRS232DataBits)
DOTWALL_NOT_AVAILABLE(DoGetRS232DataBits)
DOTWALL_NOT_AVAILABLE(DoSetRS232Parity)
DOTWALL_NOT_AVAILABLE(DoGetRS232Parity)
DOTWALL_NOT_AVAILABLE(DoSetRS232StopBits)
DOTWALL_NOT_AVAILABLE(DoGetRS232StopBits)

}  // extern "C"

// The port-access library's physical-memory and driver functions, which no port library
// provides on Linux: the kernel itself grants port access, so there is no driver to install,
// and no program needs physical memory. Each reports failure. Every port library is built
// with this file.
#pragma GCC visibility push(default)
#include "ports/winio/winio.h"
#pragma GCC visibility pop

#include <cstdint>

namespace {

constexpr std::int16_t kRefused = 0;

}  // namespace

extern "C" {

std::uint8_t* MapPhysToLin(std::uint8_t*, std::uint32_t, void**) {
    return nullptr;
}
std::int16_t UnmapPhysicalMemory(void*, std::uint8_t*) {
    return kRefused;
}
std::int16_t GetPhysLong(std::uint8_t*, std::uint32_t*) {
    return kRefused;
}
std::int16_t SetPhysLong(std::uint8_t*, std::uint32_t) {
    return kRefused;
}
std::int16_t InstallWinIoDriver(const char*, std::int16_t) {
    return kRefused;
}
std::int16_t RemoveWinIoDriver() {
    return kRefused;
}
}

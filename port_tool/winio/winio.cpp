#include "port_tool/winio/winio.h"

#include <cstdint>

#include "port_tool/winio/granted_ports.h"

#if (defined(__x86_64__) || defined(__i386__)) && __has_include(<sys/io.h>)
#define DOTWALL_HAS_PORT_IO 1
#include <pthread.h>
#include <sys/io.h>
#else
#define DOTWALL_HAS_PORT_IO 0
#endif

namespace {

using dotwall::winio::insideGrantedPorts;

constexpr std::int16_t kSuccess = 1;
constexpr std::int16_t kFailure = 0;

#if DOTWALL_HAS_PORT_IO

using dotwall::winio::kFirstGrantedPort;
using dotwall::winio::kGrantedPortCount;

// The kernel grants port access to one thread, and a forked child starts without it; a port
// instruction without it kills the process. So the grant is remembered per thread, and a
// child forgets it: every access checks it and fails instead of faulting.
thread_local bool portsGranted = false;

void forgetGrantInChild() {
    portsGranted = false;
}

const bool forgetsGrantOnFork = pthread_atfork(nullptr, nullptr, forgetGrantInChild) == 0;

bool mayAccess(std::uint16_t port, std::uint8_t size) {
    return portsGranted && insideGrantedPorts(port, size);
}

#endif

}  // namespace

extern "C" {

#if DOTWALL_HAS_PORT_IO

std::int16_t InitializeWinIo() {
    portsGranted = forgetsGrantOnFork && ioperm(kFirstGrantedPort, kGrantedPortCount, 1) == 0;
    return portsGranted ? kSuccess : kFailure;
}

std::int16_t ShutdownWinIo() {
    portsGranted = false;
    return ioperm(kFirstGrantedPort, kGrantedPortCount, 0) == 0 ? kSuccess : kFailure;
}

std::int16_t GetPortVal(std::uint16_t port, std::uint32_t* value, std::uint8_t size) {
    if (value == nullptr || !mayAccess(port, size)) {
        return kFailure;
    }
    switch (size) {
        case 1:
            *value = inb(port);
            break;
        case 2:
            *value = inw(port);
            break;
        default:
            *value = inl(port);
            break;
    }
    return kSuccess;
}

std::int16_t SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t size) {
    if (!mayAccess(port, size)) {
        return kFailure;
    }
    switch (size) {
        case 1:
            outb(static_cast<unsigned char>(value), port);
            break;
        case 2:
            outw(static_cast<unsigned short>(value), port);
            break;
        default:
            outl(value, port);
            break;
    }
    return kSuccess;
}

#else

std::int16_t InitializeWinIo() {
    return kFailure;
}
std::int16_t ShutdownWinIo() {
    return kFailure;
}
std::int16_t GetPortVal(std::uint16_t, std::uint32_t*, std::uint8_t) {
    return kFailure;
}
std::int16_t SetPortVal(std::uint16_t, std::uint32_t, std::uint8_t) {
    return kFailure;
}

#endif

std::uint8_t* MapPhysToLin(std::uint8_t*, std::uint32_t, void**) {
    return nullptr;
}
std::int16_t UnmapPhysicalMemory(void*, std::uint8_t*) {
    return kFailure;
}
std::int16_t GetPhysLong(std::uint8_t*, std::uint32_t*) {
    return kFailure;
}
std::int16_t SetPhysLong(std::uint8_t*, std::uint32_t) {
    return kFailure;
}
std::int16_t InstallWinIoDriver(const char*, std::int16_t) {
    return kFailure;
}
std::int16_t RemoveWinIoDriver() {
    return kFailure;
}
}

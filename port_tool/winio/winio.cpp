#include "winio/winio.h"

#include <cstdint>

#include "port_tool/winio/granted_ports.h"

#if (defined(__x86_64__) || defined(__i386__)) && __has_include(<sys/io.h>)
#define DOTWALL_HAS_PORT_IO 1
#include <pthread.h>
#include <sys/io.h>

#include <atomic>
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

// The kernel keeps port access per thread: ioperm grants it to the calling thread, and a
// port instruction without it kills the process. Each InitializeWinIo opens a term, numbered
// from 1 (0 while the ports are closed), and every thread keeps the term in which the kernel
// granted or refused it. A thread without a grant for this term (the refresh thread of a
// program whose window thread started the driver, say) asks the kernel for its own on its
// first access, which it grants whenever the process may use ports at all (root or
// CAP_SYS_RAWIO); a thread started after InitializeWinIo already holds a copy of the grant,
// and asking again is how the library learns so without risking a fault. A forked child
// starts closed: it must call InitializeWinIo itself.
std::atomic<unsigned> openTerm = 0;
unsigned lastTerm = 0;
thread_local unsigned grantedInTerm = 0;
thread_local unsigned refusedInTerm = 0;

bool askKernel(bool turnOn) {
    return ioperm(kFirstGrantedPort, kGrantedPortCount, turnOn ? 1 : 0) == 0;
}

void forgetGrantInChild() {
    openTerm = 0;
}

const bool forgetsGrantOnFork = pthread_atfork(nullptr, nullptr, forgetGrantInChild) == 0;

bool mayAccess(std::uint16_t port, std::uint8_t size) {
    const unsigned term = openTerm;
    if (term == 0 || !insideGrantedPorts(port, size) || refusedInTerm == term) {
        return false;
    }
    if (grantedInTerm != term) {
        (askKernel(true) ? grantedInTerm : refusedInTerm) = term;
    }
    return grantedInTerm == term;
}

#endif

}  // namespace

extern "C" {

#if DOTWALL_HAS_PORT_IO

std::int16_t InitializeWinIo() {
    if (!forgetsGrantOnFork || !askKernel(true)) {
        return kFailure;
    }
    grantedInTerm = ++lastTerm;
    openTerm = lastTerm;
    return kSuccess;
}

std::int16_t ShutdownWinIo() {
    openTerm = 0;
    return askKernel(false) ? kSuccess : kFailure;
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
}

// The port-access library for Linux: the parallel port's registers 0x378 to 0x37A through
// the kernel (ioperm, never iopl), granted per thread (see PortGrants).
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ports/parallel/granted_ports.h"
#include "ports/parallel/port_grants.h"

// The ten functions are the library's only exports.
#pragma GCC visibility push(default)
#include "ports/winio/winio.h"
#pragma GCC visibility pop

#if (defined(__x86_64__) || defined(__i386__)) && __has_include(<sys/io.h>)
#define DOTWALL_HAS_PORT_IO 1
#include <sys/io.h>
#else
#define DOTWALL_HAS_PORT_IO 0
#endif

namespace {

using dotwall::winio::kFirstGrantedPort;
using dotwall::winio::kGrantedPortCount;

constexpr std::int16_t kSuccess = 1;
constexpr std::int16_t kFailure = 0;

// The kernel's port access; where the processor has no port instructions, none is granted.
class Kernel final : public dotwall::winio::PortKernel {
  public:
    int request([[maybe_unused]] bool on) override {
#if DOTWALL_HAS_PORT_IO
        return ioperm(kFirstGrantedPort, kGrantedPortCount, on ? 1 : 0) == 0 ? 0 : errno;
#else
        return ENOSYS;
#endif
    }

    void out([[maybe_unused]] std::uint16_t port, [[maybe_unused]] std::uint32_t value,
             [[maybe_unused]] std::uint8_t size) override {
#if DOTWALL_HAS_PORT_IO
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
#endif
    }

    std::uint32_t in([[maybe_unused]] std::uint16_t port,
                     [[maybe_unused]] std::uint8_t size) override {
#if DOTWALL_HAS_PORT_IO
        return size == 1 ? inb(port) : size == 2 ? inw(port) : inl(port);
#else
        return 0;
#endif
    }
};

Kernel kernel;
dotwall::winio::PortGrants grants(kernel);

}  // namespace

extern "C" {

std::int16_t InitializeWinIo() {
    std::string why;
    if (!grants.open(why)) {
        std::fprintf(stderr, "libWinIo.so: %s\n", why.c_str());
        return kFailure;
    }
    return kSuccess;
}

std::int16_t ShutdownWinIo() {
    grants.close();
    return kSuccess;
}

std::int16_t GetPortVal(std::uint16_t port, std::uint32_t* value, std::uint8_t size) {
    return value != nullptr && grants.in(port, *value, size) ? kSuccess : kFailure;
}

std::int16_t SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t size) {
    return grants.out(port, value, size) ? kSuccess : kFailure;
}
}

#include "ports/parallel/parallel_port.h"

#include <cerrno>
#include <string>

#include "base/runtime_error.h"
#include "ports/parallel/granted_ports.h"

#if (defined(__x86_64__) || defined(__i386__)) && __has_include(<sys/io.h>)
#define DOTWALL_HAS_PORT_IO 1
#include <sys/io.h>
#else
#define DOTWALL_HAS_PORT_IO 0
#endif

namespace dotwall::ports {

namespace {

// The kernel's port access; where the processor has no port instructions, none is granted.
class Kernel final : public parallel::PortKernel {
  public:
    int request([[maybe_unused]] bool on) override {
#if DOTWALL_HAS_PORT_IO
        return ioperm(parallel::kFirstGrantedPort, parallel::kGrantedPortCount, on ? 1 : 0) == 0
                   ? 0
                   : errno;
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

}  // namespace

namespace parallel {

ParallelPort::ParallelPort(PortKernel& kernel) : Device(Wiring::OwnRegisters), grants_(kernel) {
    if (std::string why; !grants_.open(why)) {
        throw RuntimeError(ErrorKind::DriverFailed, why);
    }
}

}  // namespace parallel

const char* const kLibraryName = "libWinIo.so";
const char* const kDeviceName = "parallel port";

std::unique_ptr<Device> openDevice() {
    static Kernel kernel;
    return std::make_unique<parallel::ParallelPort>(kernel);
}

}  // namespace dotwall::ports

#pragma once

#include <cstdint>

#include "ports/parallel/port_grants.h"
#include "ports/winio/device.h"

namespace dotwall::ports::parallel {

// The PC parallel port's data, status and control registers, 0x378 to 0x37A, through the
// kernel (x86 only; elsewhere the kernel grants none). Opening asks the kernel for these
// registers alone (ioperm, never iopl), which needs root or the capability CAP_SYS_RAWIO;
// the kernel keeps the access per thread, and another thread of the process gets its own on
// its first access (see PortGrants). An access is of 1, 2 or 4 bytes within the three
// registers, by a thread the kernel grants them; any other is refused without a port
// instruction, so it never faults. Closing gives the registers back.
class ParallelPort final : public Device {
  public:
    // Raises RuntimeError DriverFailed with what the kernel answered and what to do when the
    // registers are not granted.
    explicit ParallelPort(PortKernel& kernel);
    ~ParallelPort() override { grants_.close(); }

    bool write(std::uint16_t port, std::uint32_t value, std::uint8_t size) override {
        return grants_.out(port, value, size);
    }
    bool read(std::uint16_t port, std::uint32_t& value, std::uint8_t size) override {
        return grants_.in(port, value, size);
    }

  private:
    PortGrants grants_;
};

}  // namespace dotwall::ports::parallel

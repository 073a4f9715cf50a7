#pragma once

#include <cstdint>
#include <string>

namespace dotwall::ports::parallel {

// What the library asks of the kernel: access to the parallel port's registers for the
// calling thread, and the port instructions themselves. The library uses the kernel's
// (ioperm, outb, inb); a test puts its own in place to see which thread asked before which
// access.
class PortKernel {
  public:
    virtual ~PortKernel() = default;
    // Turns the calling thread's access to the granted ports on or off; 0, or the error
    // number of the refusal.
    virtual int request(bool on) = 0;
    virtual void out(std::uint16_t port, std::uint32_t value, std::uint8_t size) = 0;
    virtual std::uint32_t in(std::uint16_t port, std::uint8_t size) = 0;
};

// The kernel keeps port access per thread: ioperm grants it to the calling thread, and a port
// instruction without it kills the process. Each open() starts a term; every thread keeps
// the term in which the kernel granted or refused it. A thread without a grant for this term
// (the refresh thread of a program whose window thread opened the ports, say) asks the kernel
// for its own on its first access, which it grants whenever the process may use ports at
// all; a thread started after open() already holds a copy of the grant, and asking again is
// how the library learns so without risking a fault. A forked child starts closed.
class PortGrants {
  public:
    explicit PortGrants(PortKernel& kernel) : kernel_(kernel) {}

    // Asks for the ports for this thread; false, with `why` saying what the kernel answered
    // and what to do, when they were not granted.
    bool open(std::string& why);
    // Gives the ports back; later accesses are refused.
    void close();

    // One access of 1, 2 or 4 bytes within the granted ports by a thread the kernel grants
    // them; false, touching no port, for any other.
    bool out(std::uint16_t port, std::uint32_t value, std::uint8_t size);
    bool in(std::uint16_t port, std::uint32_t& value, std::uint8_t size);

  private:
    bool mayAccess(std::uint16_t port, std::uint8_t size);

    PortKernel& kernel_;
};

}  // namespace dotwall::ports::parallel

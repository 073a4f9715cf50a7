#include "ports/parallel/port_grants.h"

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "ports/parallel/granted_ports.h"

namespace dotwall::ports::parallel {

namespace {

// The open term, numbered from 1; 0 while the ports are closed.
std::atomic<unsigned> openTerm = 0;
unsigned lastTerm = 0;
thread_local unsigned grantedInTerm = 0;
thread_local unsigned refusedInTerm = 0;

void forgetGrantInChild() {
    openTerm = 0;
}

const bool forgetsGrantOnFork = pthread_atfork(nullptr, nullptr, forgetGrantInChild) == 0;

// What the kernel's refusal means for a person, and what to do.
std::string refusal(int error) {
    const std::string said = " (ioperm: " + std::string(std::strerror(error)) + ")";
    if (error == EPERM) {
        return "the kernel refused the parallel port's registers 0x378 to 0x37A" + said +
               ": run the program as root, or give it the capability (sudo setcap "
               "cap_sys_rawio,cap_sys_nice+ep PROGRAM; see the README).";
    }
    return "this machine gives no access to a parallel port's registers" + said +
           ", as in many virtual machines: drive the panel through the USB adapter's port "
           "library (bin/ftdi in the build, lib/dotwall/ftdi installed), or try it on the virtual "
           "one "
           "(bin/virtual, lib/dotwall/virtual).";
}

}  // namespace

bool PortGrants::open(std::string& why) {
    if (!forgetsGrantOnFork) {
        why = "the library could not register its fork handler";
        return false;
    }
    if (const int error = kernel_.request(true)) {
        why = refusal(error);
        return false;
    }
    grantedInTerm = ++lastTerm;
    openTerm = lastTerm;
    return true;
}

void PortGrants::close() {
    openTerm = 0;
    kernel_.request(false);
}

bool PortGrants::mayAccess(std::uint16_t port, std::uint8_t size) {
    const unsigned term = openTerm;
    if (term == 0 || !insideGrantedPorts(port, size) || refusedInTerm == term) {
        return false;
    }
    if (grantedInTerm != term) {
        (kernel_.request(true) == 0 ? grantedInTerm : refusedInTerm) = term;
    }
    return grantedInTerm == term;
}

bool PortGrants::out(std::uint16_t port, std::uint32_t value, std::uint8_t size) {
    if (!mayAccess(port, size)) {
        return false;
    }
    kernel_.out(port, value, size);
    return true;
}

bool PortGrants::in(std::uint16_t port, std::uint32_t& value, std::uint8_t size) {
    if (!mayAccess(port, size)) {
        return false;
    }
    value = kernel_.in(port, size);
    return true;
}

}  // namespace dotwall::ports::parallel

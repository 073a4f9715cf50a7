#pragma once

#include <cstdint>

#include "ports/winio/data_register.h"

namespace dotwall::ports::parallel {

// The ports InitializeWinIo asks for: the parallel port's data, status and control
// registers. Least privilege: the process gets these and no other.
inline constexpr unsigned kFirstGrantedPort = kDataRegister;
inline constexpr unsigned kGrantedPortCount = 3;

// True when an access of `size` bytes at `port` is a valid port access (1, 2 or 4 bytes)
// whose every byte lies among the granted ports.
constexpr bool insideGrantedPorts(std::uint16_t port, std::uint8_t size) {
    const bool validSize = size == 1 || size == 2 || size == 4;
    return validSize && port >= kFirstGrantedPort &&
           unsigned{port} + size <= kFirstGrantedPort + kGrantedPortCount;
}

}  // namespace dotwall::ports::parallel

#pragma once

#include <cstdint>

namespace dotwall::port_tool {

// Writes one byte to the data register of the parallel port.
class PortWriter {
  public:
    virtual ~PortWriter() = default;

    virtual void write(std::uint8_t byte) = 0;
};

}  // namespace dotwall::port_tool

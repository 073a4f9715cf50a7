#pragma once

#include <cstdint>

#include "module1.h"
#include "port_writer.h"

namespace dotwall::port_tool {

// The parallel port's data register, written through WinIo's SetPortVal. The port address
// is kept as the text "&H378" and read at every write, like every number the tool reads from
// text. Keeps the last byte written and SetPortVal's last result, which nothing judges: a
// failing write does not stop the refresh.
class WinIoPortWriter final : public PortWriter {
  public:
    static constexpr const char* kPortAddressText = "&H378";

    explicit WinIoPortWriter(Module1& module1) : module1_(module1) {}

    void write(std::uint8_t byte) override;

    std::uint8_t lastByte() const { return lastByte_; }
    std::int16_t lastResult() const { return lastResult_; }

  private:
    Module1& module1_;
    std::uint8_t lastByte_ = 0;
    std::int16_t lastResult_ = 0;
};

}  // namespace dotwall::port_tool

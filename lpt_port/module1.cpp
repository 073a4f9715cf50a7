#include "lpt_port/module1.h"

#include "common/numeric_text.h"

namespace dotwall::lpt_port {

void Module1::write(std::uint8_t byte) {
    lastByte_ = byte;
    // The signed 16-bit address goes to the library's unsigned port number bit for bit.
    const auto port = static_cast<std::uint16_t>(toInt16(kPortAddressText));
    lastResult_ = setPortVal_(port, lastByte_, 1);
}

}  // namespace dotwall::lpt_port

#pragma once

#include <cstdint>

namespace dotwall::ports {

// The PC parallel port's data register (I/O address hexadecimal 378, 888): its eight data
// lines carry the panel's signals, one port byte per write.
inline constexpr std::uint16_t kDataRegister = 0x378;

}  // namespace dotwall::ports

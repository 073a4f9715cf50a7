#pragma once

#include <optional>
#include <string>

namespace dotwall::ports::ftdi {

// The USB IDs of the adapters the library drives by default, FTDI's Hi-Speed chips with an
// asynchronous bit-bang mode on eight pins.
inline constexpr int kFtdiVendor = 0x0403;
inline constexpr int kFt232hProduct = 0x6014;
inline constexpr int kFt2232hProduct = 0x6010;  // channel A

// The byte rate a 640 x 240 panel's frame of 77363 bytes needs for a little over 60 frames a
// second, and the rates the chips' bit-bang clock can be set to (see chipBaudRate).
inline constexpr long kDefaultBytesPerSecond = 4'700'000;
inline constexpr long kLowestBytesPerSecond = 3'000;
inline constexpr long kHighestBytesPerSecond = 12'000'000;

// In asynchronous bit-bang mode the chip puts a byte on its pins at each tick of its bit-bang
// clock, which runs at 16 times the rate of its baud-rate generator; the library sets the
// generator before it turns bit-bang mode on, so libftdi takes the rate as it is (in bit-bang
// mode it would multiply it by 4 first).
constexpr int chipBaudRate(long bytesPerSecond) {
    return static_cast<int>(bytesPerSecond / 16);
}

struct AdapterSettings {
    // DOTWALL_FTDI_DEVICE: libftdi's device string ("d:BUS/ADDR", "i:VID:PID",
    // "i:VID:PID:INDEX", "s:VID:PID:SERIAL"); none: the first FT232H, else the first FT2232H.
    std::optional<std::string> device;
    // DOTWALL_FTDI_BYTES_PER_SECOND, kDefaultBytesPerSecond when not set.
    long bytesPerSecond = kDefaultBytesPerSecond;
};

// The settings from the environment. A rate outside kLowestBytesPerSecond to
// kHighestBytesPerSecond, or no whole number, raises InvalidSetting naming it and the range.
AdapterSettings settingsFromEnvironment();

}  // namespace dotwall::ports::ftdi

#pragma once

#include <cstdint>
#include <string>

#include "base/library_binder.h"
#include "usb_tool/avr309/avr309.h"
#include "usb_tool/usb_io_interface.h"

namespace dotwall::usb_tool {

inline constexpr const char* kBoardLibraryFileName = "libAVR309.so";

// The USB board's library: each function bound by the library's file name and its own
// name on its first call, and kept for the rest of the run.
class BoardBinding final : public UsbIoInterface {
  public:
    explicit BoardBinding(std::string libraryFileName = kBoardLibraryFileName)
        : library_(std::move(libraryFileName)) {}

    std::int32_t DoLCDOut(std::uint8_t first, std::uint8_t second, std::uint8_t third,
                          std::uint8_t fourth) override {
        return lcdOut_(first, second, third, fourth);
    }
    // In C the byte references are pointers.
    std::int32_t DoI2CRead(std::uint8_t& first, std::uint8_t& second, std::uint8_t& third,
                           std::uint8_t& fourth) override {
        return i2cRead_(&first, &second, &third, &fourth);
    }
    std::int32_t DoI2CWrite(std::uint8_t value) override { return i2cWrite_(value); }

  private:
    OutsideLibrary library_;
    BoundFunction<decltype(::DoLCDOut)> lcdOut_{library_, "DoLCDOut"};
    BoundFunction<decltype(::DoI2CRead)> i2cRead_{library_, "DoI2CRead"};
    BoundFunction<decltype(::DoI2CWrite)> i2cWrite_{library_, "DoI2CWrite"};
};

}  // namespace dotwall::usb_tool

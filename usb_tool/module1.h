#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/library_binder.h"
#include "usb_tool/usb_io_interface.h"

namespace dotwall::usb_tool {

#ifdef _WIN32
inline constexpr const char* kBoardLibraryFileName = "AVR309.dll";
#else
inline constexpr const char* kBoardLibraryFileName = "libAVR309.so";
#endif

// The USB board's library: each function bound by the library's file name and its own
// name on its first call, and kept for the rest of the run.
class Module1 final : public UsbIoInterface {
  public:
    explicit Module1(std::string libraryFileName = kBoardLibraryFileName)
        : library_(std::move(libraryFileName)) {}

    std::int32_t DoLCDOut(std::uint8_t first, std::uint8_t second, std::uint8_t third,
                          std::uint8_t fourth) override {
        return lcdOut_(first, second, third, fourth);
    }
    std::int32_t DoI2CRead(std::uint8_t& first, std::uint8_t& second, std::uint8_t& third,
                           std::uint8_t& fourth) override {
        return i2cRead_(&first, &second, &third, &fourth);
    }
    std::int32_t DoI2CWrite(std::uint8_t value) override { return i2cWrite_(value); }

    // The board's other functions. DotwallUsb never calls them, so nothing fixes their
    // parameters; they are named here so a board library can be checked for them.
    static constexpr std::array<const char*, 23> kUncalledFunctions = {"DoGetInfraCode",
                                                                       "DoSetDataPortDirection",
                                                                       "DoGetDataPortDirection",
                                                                       "DoSetOutDataPort",
                                                                       "DoGetOutDataPort",
                                                                       "DoGetInDataPort",
                                                                       "DoSetDataPortDirections",
                                                                       "DoGetDataPortDirections",
                                                                       "DoSetOutDataPorts",
                                                                       "DoGetOutDataPorts",
                                                                       "DoGetInDataPorts",
                                                                       "DoRS232Send",
                                                                       "DoRS232Read",
                                                                       "DoSetRS232Baud",
                                                                       "DoGetRS232Baud",
                                                                       "DoGetRS232Buffer",
                                                                       "DoRS232BufferSend",
                                                                       "DoSetRS232DataBits",
                                                                       "DoGetRS232DataBits",
                                                                       "DoSetRS232Parity",
                                                                       "DoGetRS232Parity",
                                                                       "DoSetRS232StopBits",
                                                                       "DoGetRS232StopBits"};

  private:
    OutsideLibrary library_;
    // In C the byte references of DoI2CRead are pointers.
    BoundFunction<std::int32_t(std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t)> lcdOut_{
        library_, "DoLCDOut"};
    BoundFunction<std::int32_t(std::uint8_t*, std::uint8_t*, std::uint8_t*, std::uint8_t*)>
        i2cRead_{library_, "DoI2CRead"};
    BoundFunction<std::int32_t(std::uint8_t)> i2cWrite_{library_, "DoI2CWrite"};
};

}  // namespace dotwall::usb_tool

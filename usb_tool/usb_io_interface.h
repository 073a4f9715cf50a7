#pragma once

#include <cstdint>

namespace dotwall::usb_tool {

// The three calls DotwallUsb makes into the USB board's library. Results are shown,
// never judged; what DoI2CRead may write back is not used.
class UsbIoInterface {
  public:
    virtual ~UsbIoInterface() = default;

    virtual std::int32_t DoLCDOut(std::uint8_t first, std::uint8_t second, std::uint8_t third,
                                  std::uint8_t fourth) = 0;
    virtual std::int32_t DoI2CRead(std::uint8_t& first, std::uint8_t& second, std::uint8_t& third,
                                   std::uint8_t& fourth) = 0;
    virtual std::int32_t DoI2CWrite(std::uint8_t value) = 0;
};

}  // namespace dotwall::usb_tool

#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "usb_io_interface.h"

namespace dotwall::testing {

// Records the calls into the USB board's library as text, e.g. "DoLCDOut(1, 2, 3, 4)", and
// answers with the queued results (0 once they run out). Its DoI2CRead writes 9 into all
// four bytes, as a board that answers would.
class RecordingBoard final : public usb_tool::UsbIoInterface {
  public:
    std::int32_t DoLCDOut(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) override {
        return record("DoLCDOut", {a, b, c, d});
    }
    std::int32_t DoI2CRead(std::uint8_t& a, std::uint8_t& b, std::uint8_t& c,
                           std::uint8_t& d) override {
        const std::int32_t result = record("DoI2CRead", {a, b, c, d});
        a = b = c = d = 9;
        return result;
    }
    std::int32_t DoI2CWrite(std::uint8_t value) override { return record("DoI2CWrite", {value}); }

    std::vector<std::string> calls;
    std::deque<std::int32_t> results;

  private:
    std::int32_t record(const std::string& name, const std::vector<int>& arguments) {
        std::string call = name + "(";
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            call += (i == 0 ? "" : ", ") + std::to_string(arguments[i]);
        }
        calls.push_back(call + ")");
        if (results.empty()) {
            return 0;
        }
        const std::int32_t result = results.front();
        results.pop_front();
        return result;
    }
};

}  // namespace dotwall::testing

#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/runtime_error.h"

namespace dotwall {

// DotwallUsb's frame buffer: 72001 bytes, indices 0 to 72000, all zero when created, whose
// indices the board commands and the frame file use. The dual-scan packer pre-fills 0 to
// 71999 with kPreFill and writes its frame into the low part; element 72000 is never written.
class FrameBuffer {
  public:
    static constexpr std::ptrdiff_t kLastIndex = 72000;
    static constexpr std::size_t kSize = kLastIndex + 1;
    static constexpr std::uint8_t kPreFill = 5;
    static constexpr std::ptrdiff_t kPreFillEnd = 72000;  // pre-fill covers 0 .. kPreFillEnd - 1

    // Element access by a run-time index, checked against 0 to 72000.
    std::uint8_t& at(std::ptrdiff_t index) {
        checkIndex(index);
        return bytes_[static_cast<std::size_t>(index)];
    }
    std::uint8_t at(std::ptrdiff_t index) const {
        checkIndex(index);
        return bytes_[static_cast<std::size_t>(index)];
    }

    // Sets elements 0 to 71999 to the pre-fill value; 72000 keeps its value.
    void preFill() { std::fill(bytes_.begin(), bytes_.begin() + kPreFillEnd, kPreFill); }

    const std::uint8_t* data() const { return bytes_.data(); }

    friend bool operator==(const FrameBuffer&, const FrameBuffer&) = default;

  private:
    static void checkIndex(std::ptrdiff_t index) {
        if (index < 0 || index > kLastIndex) [[unlikely]] {
            throwIndexOutOfRange(index);
        }
    }
    [[noreturn]] static void throwIndexOutOfRange(std::ptrdiff_t index);

    std::array<std::uint8_t, kSize> bytes_{};
};

}  // namespace dotwall

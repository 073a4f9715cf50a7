#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ports/ftdi/adapter_settings.h"
#include "ports/ftdi/chip_stream.h"
#include "ports/winio/device.h"

struct ftdi_context;

namespace dotwall::ports::ftdi {

// An FTDI FT232H or FT2232H in asynchronous bit-bang mode, wired to the parallel port's data
// register: what is written there goes out on the adapter's eight pins (AD0 to AD7 of
// channel A) at the rate the chip sets. Opened for the panel, all eight pins are outputs, low,
// at the settings' byte rate, with the stream that feeds them; a write queues the byte and
// waits only while the queue is full, from any number of threads at once. A USB error fails
// the stream: every write after it is refused, with libftdi's reason. Closing sends what is
// queued, leaves the pins low and tells how often the chip ran out of bytes.
class Adapter final : public Device {
  public:
    // Opens the adapter the settings name, or the first FT232H, else the first FT2232H
    // (channel A). Raises RuntimeError DriverFailed with a sentence that says why and what to
    // do when there is none, the user may not open it, or the chip refuses a setting; nothing
    // is left open then.
    explicit Adapter(const AdapterSettings& settings);
    // Closes the adapter, after finish() when it was not called.
    ~Adapter() override;

    // Queues a byte for the pins; false once the stream has failed.
    bool write(std::uint16_t, std::uint32_t value, std::uint8_t) override {
        return stream_->write(static_cast<std::uint8_t>(value));
    }
    // The last byte queued.
    bool read(std::uint16_t, std::uint32_t& value, std::uint8_t) override {
        value = stream_->lastByte();
        return true;
    }

    // For a person: why the stream failed; empty while it runs.
    std::string failure() const override;
    // Finishes, and tells how often the chip ran out of bytes while the stream ran.
    std::string close() override;

  private:
    // Sends what is queued, waits until the chip has taken it, and leaves the pins low.
    void finish();

    struct Closer {
        void operator()(ftdi_context* adapter) const;
    };

    std::unique_ptr<ftdi_context, Closer> adapter_;
    std::unique_ptr<ChipStream> stream_;
};

}  // namespace dotwall::ports::ftdi

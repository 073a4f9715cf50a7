#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ports/ftdi/adapter_settings.h"
#include "ports/ftdi/chip_stream.h"

struct ftdi_context;

namespace dotwall::ftdi_port {

// An FTDI adapter opened for the panel: all eight pins of its channel outputs, low, in
// asynchronous bit-bang mode at the settings' byte rate, with the stream that feeds them.
class Adapter {
  public:
    // Opens the adapter the settings name, or the first FT232H, else the first FT2232H
    // (channel A). Raises RuntimeError DriverFailed with a sentence that says why and what to
    // do when there is none, the user may not open it, or the chip refuses a setting; nothing
    // is left open then.
    explicit Adapter(const AdapterSettings& settings);
    // Closes the adapter, after finish() when it was not called.
    ~Adapter();
    Adapter(const Adapter&) = delete;
    Adapter& operator=(const Adapter&) = delete;

    // Queues a byte for the pins, from any number of threads at once; false once the stream
    // has failed.
    bool write(std::uint8_t byte) { return stream_->write(byte); }
    // The last byte queued.
    std::uint8_t lastByte() const { return stream_->lastByte(); }

    // Sends what is queued, waits until the chip has taken it, and leaves the pins low.
    void finish();

    // For a person: why the stream failed, and how often the chip ran out of bytes while it
    // ran; each empty when there is nothing to tell.
    std::string failure() const;
    std::string underruns() const;

  private:
    struct Closer {
        void operator()(ftdi_context* adapter) const;
    };

    std::unique_ptr<ftdi_context, Closer> adapter_;
    std::unique_ptr<ChipStream> stream_;
};

}  // namespace dotwall::ftdi_port

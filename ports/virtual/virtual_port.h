#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "frames/panel_profile.h"
#include "frames/port_signals.h"
#include "panel_link/panel_link_publisher.h"
#include "ports/virtual/write_pacing.h"
#include "ports/winio/device.h"

namespace dotwall::ports::virtual_panel {

// The parallel port's data register with a panel of the profile behind it that exists only
// in software: each byte goes, at a real port's pace, to the stream decoder, which reads the
// wire as that panel would, and what the decoder rebuilds to the shared panel link that
// DotwallPanel reads. It needs no privilege and touches no hardware. Opening it makes the
// panel's link object (DOTWALL_PANEL names the profile, DOTWALL_VIRTUAL_PORT_NS the pace);
// closing it removes the object.
class VirtualPort final : public Device {
  public:
    // Raises RuntimeError naming the link's object when it cannot be made.
    VirtualPort(std::string linkName, const PanelProfile& profile,
                std::chrono::nanoseconds perWrite)
        : Device(Wiring::DataRegisterByte),
          pacing_(perWrite),
          decoder_(profile),
          link_(std::move(linkName), profile) {}

    bool write(std::uint16_t, std::uint32_t value, std::uint8_t) override {
        const auto byte = static_cast<std::uint8_t>(value);
        pacing_.waitForTurn();
        decoder_.write(byte);
        link_.afterWrite(decoder_);
        lastByte_ = byte;
        return true;
    }
    bool read(std::uint16_t, std::uint32_t& value, std::uint8_t) override {
        value = lastByte_;
        return true;
    }

  private:
    WritePacing pacing_;
    port_signals::StreamDecoder decoder_;
    panel_link::LinkPublisher link_;
    std::uint8_t lastByte_ = 0;
};

}  // namespace dotwall::ports::virtual_panel

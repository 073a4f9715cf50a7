#pragma once

#include <cstdint>
#include <string>

#include "frames/panel_profile.h"
#include "frames/port_signals.h"
#include "panel_link/panel_link_publisher.h"
#include "ports/virtual/write_pacing.h"

namespace dotwall::virtual_port {

// The parallel port's data register with a panel of the profile behind it that exists only
// in software: each byte goes, at a real port's pace, to the stream decoder, which reads the
// wire as that panel would, and what the decoder rebuilds to the shared panel link that
// DotwallPanel reads.
class VirtualPort {
  public:
    // Raises RuntimeError naming the link's object when it cannot be made.
    VirtualPort(std::string linkName, const PanelProfile& profile,
                std::chrono::nanoseconds perWrite)
        : pacing_(perWrite), decoder_(profile), link_(std::move(linkName), profile) {}

    void write(std::uint8_t byte) {
        pacing_.waitForTurn();
        decoder_.write(byte);
        link_.afterWrite(decoder_);
        lastByte_ = byte;
    }

    std::uint8_t lastByte() const { return lastByte_; }

  private:
    WritePacing pacing_;
    port_signals::StreamDecoder decoder_;
    panel_link::LinkPublisher link_;
    std::uint8_t lastByte_ = 0;
};

}  // namespace dotwall::virtual_port

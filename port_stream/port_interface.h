#pragma once

#include "frames/port_signals.h"

namespace dotwall::port_stream {

// What DotwallLpt says when the port driver does not start.
inline constexpr const char* kDriverFailedText =
    "Whoops ! There is a problem with InitializeWinIo.";

// The calls DotwallLpt makes into the port-access library: start and stop its driver, and
// write a byte to the parallel port's data register.
class PortInterface : public port_signals::PortWriter {
  public:
    // Starts the driver; false when the port cannot be used.
    virtual bool start() = 0;
    virtual void stop() = 0;
};

}  // namespace dotwall::port_stream

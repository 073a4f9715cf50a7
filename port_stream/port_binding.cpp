#include "port_stream/port_binding.h"

#include <cstdio>

#include "base/runtime_error.h"

namespace dotwall::port_stream {

void PortBinding::throwRefused(std::uint8_t byte) {
    char message[200];
    std::snprintf(message, sizeof message,
                  "SetPortVal refused the byte %u for the port 0x%X (%u), so the stream ended: "
                  "the port library could not put it on the wire.",
                  unsigned{byte}, unsigned{ports::kDataRegister}, unsigned{ports::kDataRegister});
    std::string said = message;
    try {
        if (const char* reason = portError_(); reason != nullptr && *reason != '\0') {
            said += std::string(" ") + reason;
        }
    } catch (const RuntimeError&) {
        // A library without DotwallPortError (FunctionNotFound): the message is all there is.
    }
    throw RuntimeError(ErrorKind::PortWriteRefused, said);
}

}  // namespace dotwall::port_stream

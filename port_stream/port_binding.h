#pragma once

#include <cstdint>
#include <string>

#include "base/library_binder.h"
#include "port_stream/port_interface.h"
#include "ports/winio/data_register.h"
#include "ports/winio/winio.h"

namespace dotwall::port_stream {

inline constexpr const char* kWinIoFileName = "libWinIo.so";

// The port-access library, found by its file name through the system's library search (a
// path also works), each function bound by its name on its first call and kept for the
// rest of the run.
class PortBinding final : public PortInterface {
  public:
    explicit PortBinding(std::string winIoFileName = kWinIoFileName)
        : library_(std::move(winIoFileName)) {}

    // InitializeWinIo: any answer but 0 starts the driver. The three functions the stream
    // needs are bound first, so that a library that lacks one is reported before its driver
    // starts, not when the stream or the driver's stop reaches it.
    bool start() override {
        initialize_.bind();
        shutdown_.bind();
        setPortVal_.bind();
        return initialize_() != 0;
    }
    // ShutdownWinIo; its answer is not judged.
    void stop() override { shutdown_(); }
    // SetPortVal of one byte to the data register. A write the library refuses (it answers
    // 0: a port not granted, an adapter unplugged) raises PortWriteRefused naming SetPortVal
    // and the port, with the library's reason where it gives one (DotwallPortError), so the
    // stream ends instead of going on with nothing on the wire.
    void write(std::uint8_t byte) override {
        if (setPortVal_(ports::kDataRegister, byte, 1) == 0) [[unlikely]] {
            throwRefused(byte);
        }
    }

  private:
    [[noreturn]] void throwRefused(std::uint8_t byte);

    OutsideLibrary library_;
    BoundFunction<decltype(::InitializeWinIo)> initialize_{library_, "InitializeWinIo"};
    BoundFunction<decltype(::ShutdownWinIo)> shutdown_{library_, "ShutdownWinIo"};
    BoundFunction<decltype(::SetPortVal)> setPortVal_{library_, "SetPortVal"};
    BoundFunction<decltype(::DotwallPortError)> portError_{library_, "DotwallPortError"};
};

}  // namespace dotwall::port_stream

#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/library_binder.h"
#include "lpt_port/port_interface.h"
#include "port_tool/winio/winio.h"

namespace dotwall::lpt_port {

#ifdef _WIN32
inline constexpr const char* kWinIoFileName = "WinIo.dll";
#else
inline constexpr const char* kWinIoFileName = "libWinIo.so";
#endif

// The port-access library, found by its file name through the system's library search (a
// path also works), each function bound by its name on its first call and kept for the
// rest of the run.
class Module1 final : public PortInterface {
  public:
    // The port's data register, kept as text and read at every write like every number the
    // tool reads from text.
    static constexpr const char* kPortAddressText = "&H378";

    explicit Module1(std::string winIoFileName = kWinIoFileName)
        : library_(std::move(winIoFileName)) {}

    // InitializeWinIo: any answer but 0 starts the driver.
    bool start() override { return initialize_() != 0; }
    // ShutdownWinIo; its answer is not judged.
    void stop() override { shutdown_(); }
    // SetPortVal of one byte to the data register. Its answer is kept, not judged: a failing
    // write does not stop the refresh.
    void write(std::uint8_t byte) override;

    std::uint8_t lastByte() const { return lastByte_; }
    std::int16_t lastResult() const { return lastResult_; }

    // The library's other functions. DotwallLpt never calls them; they are named here so a
    // port library can be checked for them.
    static constexpr std::array<const char*, 7> kUncalledFunctions = {
        "MapPhysToLin", "UnmapPhysicalMemory", "GetPhysLong",      "SetPhysLong",
        "GetPortVal",   "InstallWinIoDriver",  "RemoveWinIoDriver"};

  private:
    OutsideLibrary library_;
    BoundFunction<decltype(::InitializeWinIo)> initialize_{library_, "InitializeWinIo"};
    BoundFunction<decltype(::ShutdownWinIo)> shutdown_{library_, "ShutdownWinIo"};
    BoundFunction<decltype(::SetPortVal)> setPortVal_{library_, "SetPortVal"};
    std::uint8_t lastByte_ = 0;
    std::int16_t lastResult_ = 0;
};

}  // namespace dotwall::lpt_port

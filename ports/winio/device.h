#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace dotwall::ports {

// What a port library drives behind the port functions (port_library.cpp maps them onto it):
// opened by InitializeWinIo, written and read from any thread between, closed by
// ShutdownWinIo. Each library is one such class, with the three definitions at the end.
class Device {
  public:
    // Which accesses the port functions pass on: only one byte to the data register (a
    // device wired to the parallel port's eight data lines alone), or any, which the
    // device's own write and read then judge.
    enum class Wiring { DataRegisterByte, OwnRegisters };

    explicit Device(Wiring wiring) : dataRegisterOnly_(wiring == Wiring::DataRegisterByte) {}
    virtual ~Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // One access of `size` bytes at `port`; false when the device refuses it, touching
    // nothing (a value wider than the access is cut to its low bytes).
    virtual bool write(std::uint16_t port, std::uint32_t value, std::uint8_t size) = 0;
    virtual bool read(std::uint16_t port, std::uint32_t& value, std::uint8_t size) = 0;
    // For a person: why the device stopped taking writes, told once on standard error and
    // given by DotwallPortError; "" while it takes them, or when it cannot tell.
    virtual std::string failure() const { return ""; }
    // Finishes what the device has under way before it is destroyed; returns what a person
    // should hear of the run, "" for nothing.
    virtual std::string close() { return ""; }

    bool dataRegisterOnly() const { return dataRegisterOnly_; }

  private:
    const bool dataRegisterOnly_;
};

// Defined by each port library:
// How its messages name the library, e.g. "libWinIo.so (FTDI)".
extern const char* const kLibraryName;
// What its messages call the device, e.g. "adapter".
extern const char* const kDeviceName;
// Opens the device; raises an exception whose what() says why it cannot, and what to do,
// leaving nothing open.
std::unique_ptr<Device> openDevice();

}  // namespace dotwall::ports

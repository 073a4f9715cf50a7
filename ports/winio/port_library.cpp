// The port functions of every port library, over the library's Device: the device opened
// once, the accesses it is not wired to refused as ports that were not granted, the success
// and failure values, and the reasons of refused calls. Each library is built with this file.
#include <atomic>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "ports/winio/data_register.h"
#include "ports/winio/device.h"

// The port functions and DotwallPortError are the library's only exports.
#pragma GCC visibility push(default)
#include "ports/winio/winio.h"
#pragma GCC visibility pop

namespace {

using dotwall::ports::Device;

constexpr std::int16_t kSuccess = 1;
constexpr std::int16_t kFailure = 0;

// The device from InitializeWinIo to ShutdownWinIo. It is opened and closed by one thread
// while no other uses it; any number may write to it between.
std::unique_ptr<Device> device;
// Whether the device's failure was told on standard error already.
std::atomic<bool> failureTold = false;
// Why this thread's last call was refused, for DotwallPortError.
thread_local std::string lastRefusal;

void tell(const std::string& what) {
    if (!what.empty()) {
        std::fprintf(stderr, "%s: %s\n", dotwall::ports::kLibraryName, what.c_str());
    }
}

std::int16_t refuse(std::string why) {
    lastRefusal = std::move(why);
    return kFailure;
}

bool reaches(std::uint16_t port, std::uint8_t size) {
    return device != nullptr &&
           (!device->dataRegisterOnly() || (port == dotwall::ports::kDataRegister && size == 1));
}

// An access that does not reach the device, refused as a port that was not granted.
[[gnu::cold]] std::int16_t refuseUnreachable() {
    const std::string name = dotwall::ports::kDeviceName;
    return refuse(device == nullptr
                      ? "No " + name +
                            " is open: InitializeWinIo opened none, or ShutdownWinIo "
                            "closed it."
                      : "The " + name +
                            " carries the data register 0x378 alone, one byte at a time.");
}

[[gnu::cold]] std::int16_t refuseWrite() {
    std::string why = device->failure();
    if (!failureTold.exchange(true)) {
        tell(why);
    }
    return refuse(std::move(why));
}

}  // namespace

extern "C" {

std::int16_t InitializeWinIo() {
    if (device != nullptr) {
        return kSuccess;
    }
    try {
        device = dotwall::ports::openDevice();
    } catch (const std::exception& error) {
        tell(error.what());
        return kFailure;
    }
    failureTold = false;
    return kSuccess;
}

std::int16_t ShutdownWinIo() {
    if (device == nullptr) {
        return kSuccess;
    }
    const std::string news = device->close();
    if (!failureTold) {
        tell(device->failure());
    }
    tell(news);
    device.reset();
    return kSuccess;
}

std::int16_t SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t size) {
    if (!reaches(port, size)) [[unlikely]] {
        return refuseUnreachable();
    }
    if (!device->write(port, value, size)) [[unlikely]] {
        return refuseWrite();
    }
    return kSuccess;
}

std::int16_t GetPortVal(std::uint16_t port, std::uint32_t* value, std::uint8_t size) {
    if (!reaches(port, size)) {
        return refuseUnreachable();
    }
    if (value == nullptr) {
        return refuse("GetPortVal was given no place for the value.");
    }
    return device->read(port, *value, size) ? kSuccess : refuse(device->failure());
}

const char* DotwallPortError() {
    return lastRefusal.c_str();
}
}

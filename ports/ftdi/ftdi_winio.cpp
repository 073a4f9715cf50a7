// The port-access library's ten functions over an FTDI FT232H or FT2232H in asynchronous
// bit-bang mode: what DotwallLpt writes to the parallel port's data register goes out on the
// adapter's eight pins at the rate the chip sets. Load it in place of the real library
// (LD_LIBRARY_PATH=build/bin/ftdi).
#include <atomic>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "ports/ftdi/adapter.h"
#include "ports/winio/data_register.h"

// The ten functions and DotwallPortError are the library's only exports.
#pragma GCC visibility push(default)
#include "ports/winio/winio.h"
#pragma GCC visibility pop

namespace {

using dotwall::ftdi_port::Adapter;

constexpr std::int16_t kSuccess = 1;
constexpr std::int16_t kFailure = 0;

// The adapter from InitializeWinIo to ShutdownWinIo. Like the real port, it is started and
// stopped by one thread while no other writes to it; any number may write to it between.
std::unique_ptr<Adapter> adapter;
std::atomic<bool> failureTold = false;
// Why this thread's last call was refused, for DotwallPortError.
thread_local std::string lastRefusal;

void tell(const std::string& what) {
    std::fprintf(stderr, "libWinIo.so (FTDI): %s\n", what.c_str());
}

std::int16_t refuse(std::string why) {
    lastRefusal = std::move(why);
    return kFailure;
}

// Why an access cannot reach the panel, as a port that was not granted; null for the one
// access it is wired to.
const char* unreachable(std::uint16_t address, std::uint8_t size) {
    if (adapter == nullptr) {
        return "No adapter is open: InitializeWinIo opened none, or ShutdownWinIo closed it.";
    }
    return address == dotwall::winio::kDataRegister && size == 1
               ? nullptr
               : "The adapter carries the data register 0x378 alone, one byte at a time.";
}

}  // namespace

extern "C" {

std::int16_t InitializeWinIo() {
    if (adapter != nullptr) {
        return kSuccess;
    }
    try {
        adapter = std::make_unique<Adapter>(dotwall::ftdi_port::settingsFromEnvironment());
    } catch (const std::exception& error) {
        tell(error.what());
        return kFailure;
    }
    failureTold = false;
    return kSuccess;
}

std::int16_t ShutdownWinIo() {
    if (adapter == nullptr) {
        return kSuccess;
    }
    adapter->finish();
    for (const std::string& news : {failureTold ? "" : adapter->failure(), adapter->underruns()}) {
        if (!news.empty()) {
            tell(news);
        }
    }
    adapter.reset();
    return kSuccess;
}

std::int16_t SetPortVal(std::uint16_t address, std::uint32_t value, std::uint8_t size) {
    if (const char* why = unreachable(address, size)) {
        return refuse(why);
    }
    if (!adapter->write(static_cast<std::uint8_t>(value))) {
        if (!failureTold.exchange(true)) {
            tell(adapter->failure());
        }
        return refuse(adapter->failure());
    }
    return kSuccess;
}

std::int16_t GetPortVal(std::uint16_t address, std::uint32_t* value, std::uint8_t size) {
    if (const char* why = unreachable(address, size)) {
        return refuse(why);
    }
    if (value == nullptr) {
        return refuse("GetPortVal was given no place for the value.");
    }
    *value = adapter->lastByte();
    return kSuccess;
}

const char* DotwallPortError() {
    return lastRefusal.c_str();
}
}

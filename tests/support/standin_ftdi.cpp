// A stand-in for libftdi1 (libftdi1.so.2) with no adapter behind it, for the FTDI port
// library's tests and benchmark. It plays an FT232H that takes the bytes of each transfer at
// a set rate, records what it was asked, and fails where it is told to. Environment:
//   DOTWALL_STANDIN_FTDI_RECORD=FILE  at ftdi_free, FILE gets one line per call made, with a
//                                     summary of the transfers at close; FILE.bytes every
//                                     byte sent
//   DOTWALL_STANDIN_FTDI_RATE=N       bytes per second the chip takes; unset or 0: at once
//   DOTWALL_STANDIN_FTDI_PRODUCT=6010 the one adapter plugged in is an FT2232H
//   DOTWALL_STANDIN_FTDI_FAIL=WHAT    missing, denied, busy (on open), baudrate, bitmode, or
//                                     write:N (the transfer that carries byte N fails)
//   DOTWALL_STANDIN_FTDI_WAKE_LATE=MS a thread that waits for a transfer wakes MS ms after the
//                                     chip took it, as on a busy machine
// A test that loads it tells by standin_ftdi_bytes_taken() when the chip has run dry.
#include <ftdi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The bytes of every transfer the chip has put on its pins.
std::atomic<long> bytesTaken = 0;

std::string setting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

struct Adapter {
    ftdi_context context{};
    std::mutex mutex;
    std::string log;
    std::vector<unsigned char> bytes;
    double bytesPerSecond = std::atof(setting("DOTWALL_STANDIN_FTDI_RATE").c_str());
    std::string fail = setting("DOTWALL_STANDIN_FTDI_FAIL");
    long failAt = fail.starts_with("write:") ? std::atol(fail.c_str() + 6) : -1;  // byte N, from 0
    std::chrono::milliseconds wakeLate{
        std::atol(setting("DOTWALL_STANDIN_FTDI_WAKE_LATE").c_str())};
    Clock::time_point chipFreeAt{};
    Clock::time_point streamStart{};  // when the chip began on the second transfer
    int inFlight = 0, mostInFlight = 0, transfers = 0, largest = 0, stalls = 0;
    bool broken = false;
};

struct Transfer {
    ftdi_transfer_control control{};
    Clock::time_point takenAt;
    bool fails = false;
};

Adapter& adapterOf(ftdi_context* context) {
    return *reinterpret_cast<Adapter*>(context);
}

int error(ftdi_context* context, int code, const char* text) {
    context->error_str = text;
    return code;
}

}  // namespace

extern "C" {

ftdi_context* ftdi_new(void) {
    return &(new Adapter)->context;
}

void ftdi_free(ftdi_context* context) {
    Adapter& adapter = adapterOf(context);
    adapter.log += "free\n";
    const std::string record = setting("DOTWALL_STANDIN_FTDI_RECORD");
    if (!record.empty()) {
        std::ofstream(record) << adapter.log;
        std::ofstream(record + ".bytes", std::ios::binary)
            .write(reinterpret_cast<const char*>(adapter.bytes.data()),
                   static_cast<std::streamsize>(adapter.bytes.size()));
    }
    delete &adapter;
}

int ftdi_set_interface(ftdi_context* context, enum ftdi_interface interface) {
    adapterOf(context).log += "interface " + std::to_string(interface) + "\n";
    return 0;
}

int ftdi_usb_open(ftdi_context* context, int vendor, int product) {
    Adapter& adapter = adapterOf(context);
    char line[64];
    std::snprintf(line, sizeof line, "open %04x:%04x\n", vendor, product);
    adapter.log += line;
    const std::string plugged = setting("DOTWALL_STANDIN_FTDI_PRODUCT");
    if (adapter.fail == "missing" || vendor != 0x0403 ||
        product != (plugged.empty() ? 0x6014 : std::stoi(plugged, nullptr, 16))) {
        return error(context, -3, "device not found");
    }
    if (adapter.fail == "denied") {
        return error(context, -4, "unable to open device");
    }
    if (adapter.fail == "busy") {
        return error(context, -5, "unable to claim device");
    }
    context->usb_dev = reinterpret_cast<libusb_device_handle*>(context);
    return 0;
}

int ftdi_usb_open_string(ftdi_context* context, const char* description) {
    adapterOf(context).log += std::string("open ") + description + "\n";
    if (std::strchr("dis", description[0]) == nullptr || description[1] != ':') {
        return error(context, -11, "illegal description format");
    }
    return ftdi_usb_open(context, 0x0403, 0x6014);
}

int ftdi_usb_close(ftdi_context* context) {
    Adapter& adapter = adapterOf(context);
    if (context->usb_dev == nullptr) {
        return 0;
    }
    context->usb_dev = nullptr;
    char summary[160];
    std::snprintf(
        summary, sizeof summary,
        "transfers %d bytes %zu largest %d most-in-flight %d stalls %d seconds %f\nclose\n",
        adapter.transfers, adapter.bytes.size(), adapter.largest, adapter.mostInFlight,
        adapter.stalls,
        std::chrono::duration<double>(adapter.chipFreeAt - adapter.streamStart).count());
    adapter.log += summary;
    return 0;
}

int ftdi_set_baudrate(ftdi_context* context, int baudrate) {
    Adapter& adapter = adapterOf(context);
    adapter.log += "baudrate " + std::to_string(baudrate) + "\n";
    return adapter.fail == "baudrate" ? error(context, -1, "Unsupported baudrate") : 0;
}

int ftdi_set_bitmode(ftdi_context* context, unsigned char bitmask, unsigned char mode) {
    Adapter& adapter = adapterOf(context);
    char line[64];
    std::snprintf(line, sizeof line, "bitmode %02x %u\n", bitmask, mode);
    adapter.log += line;
    return adapter.fail == "bitmode" ? error(context, -1, "unable to enter bitbang mode") : 0;
}

int ftdi_write_data_set_chunksize(ftdi_context* context, unsigned int chunksize) {
    adapterOf(context).log += "chunksize " + std::to_string(chunksize) + "\n";
    return 0;
}

// The chip takes a transfer's bytes after those before it, at its rate.
ftdi_transfer_control* ftdi_write_data_submit(ftdi_context* context, unsigned char* buf, int size) {
    Adapter& adapter = adapterOf(context);
    const std::lock_guard lock(adapter.mutex);
    if (adapter.broken || size <= 0) {
        error(context, -1, "LIBUSB_ERROR_NO_DEVICE");
        return nullptr;
    }
    // The chip stalled when it had taken every byte before this one while its pins held a
    // signal (a stream starts and ends with 0).
    const Clock::time_point now = Clock::now();
    if (adapter.bytesPerSecond > 0 && !adapter.bytes.empty() && adapter.bytes.back() != 0 &&
        now > adapter.chipFreeAt) {
        ++adapter.stalls;
    }
    if (adapter.transfers == 0) {
        adapter.log += "first transfer\n";
    }
    auto* transfer = new Transfer;
    transfer->control.ftdi = context;
    transfer->control.size = size;
    const auto sent = static_cast<long>(adapter.bytes.size());
    transfer->fails = adapter.failAt >= sent && adapter.failAt < sent + size;
    adapter.bytes.insert(adapter.bytes.end(), buf, buf + size);
    const auto takes = adapter.bytesPerSecond > 0
                           ? std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(size / adapter.bytesPerSecond))
                           : Clock::duration::zero();
    if (adapter.transfers == 1) {
        adapter.streamStart = std::max(adapter.chipFreeAt, now);
    }
    adapter.chipFreeAt = std::max(adapter.chipFreeAt, now) + takes;
    transfer->takenAt = adapter.chipFreeAt;
    ++adapter.transfers;
    adapter.largest = std::max(adapter.largest, size);
    adapter.mostInFlight = std::max(adapter.mostInFlight, ++adapter.inFlight);
    return &transfer->control;
}

int ftdi_transfer_data_done(ftdi_transfer_control* control) {
    auto* transfer = reinterpret_cast<Transfer*>(control);
    Adapter& adapter = adapterOf(control->ftdi);
    if (Clock::now() < transfer->takenAt) {
        std::this_thread::sleep_until(transfer->takenAt + adapter.wakeLate);
    }
    const std::lock_guard lock(adapter.mutex);
    ftdi_context* context = control->ftdi;
    const int size = control->size;
    const bool fails = transfer->fails;
    delete transfer;
    --adapter.inFlight;
    if (fails) {
        adapter.broken = true;
        return error(context, -1, "LIBUSB_ERROR_NO_DEVICE");
    }
    bytesTaken += size;
    return size;
}

long standin_ftdi_bytes_taken(void) {
    return bytesTaken;
}

const char* ftdi_get_error_string(ftdi_context* context) {
    return context->error_str != nullptr ? context->error_str : "";
}
}

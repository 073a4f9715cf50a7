#include "ports/ftdi/adapter.h"

#include <ftdi.h>

#include "base/runtime_error.h"

namespace dotwall::ports {

namespace ftdi {

namespace {

// libftdi's results when it opens a device (ftdi_usb_open_desc_index, ftdi_usb_open_string).
constexpr int kNoSuchDevice = -3;
constexpr int kCannotOpen = -4;
constexpr int kCannotClaim = -5;
constexpr int kIllegalDeviceString = -11;

constexpr const char* kDeviceForms = "d:BUS/ADDR, i:VID:PID, i:VID:PID:INDEX or s:VID:PID:SERIAL";

[[noreturn]] void refuse(const std::string& why) {
    throw RuntimeError(ErrorKind::DriverFailed, why);
}

std::string said(ftdi_context* adapter, const char* function) {
    return std::string(" (") + function + ": " + ftdi_get_error_string(adapter) + ")";
}

int open(ftdi_context* adapter, const AdapterSettings& settings) {
    if (settings.device) {
        return ftdi_usb_open_string(adapter, settings.device->c_str());
    }
    const int result = ftdi_usb_open(adapter, kFtdiVendor, kFt232hProduct);
    return result == kNoSuchDevice ? ftdi_usb_open(adapter, kFtdiVendor, kFt2232hProduct) : result;
}

// Why the adapter did not open, and what to do.
[[noreturn]] void refuseOpen(ftdi_context* adapter, const AdapterSettings& settings, int result) {
    const std::string which =
        settings.device ? "the adapter DOTWALL_FTDI_DEVICE=\"" + *settings.device + "\" names"
                        : "the FT232H (0403:6014) or FT2232H (0403:6010)";
    const std::string reason = said(adapter, "ftdi_usb_open");
    switch (result) {
        case kNoSuchDevice:
            refuse((settings.device ? which + " is not plugged in"
                                    : std::string("no FT232H (0403:6014) or FT2232H (0403:6010) "
                                                  "is plugged in")) +
                   reason + ": plug one in, or name it with DOTWALL_FTDI_DEVICE (" + kDeviceForms +
                   ").");
        case kCannotOpen:
            refuse("this user may not open " + which + reason +
                   ": install the udev rule 60-dotwall-ftdi.rules (see the README) and plug "
                   "the adapter in again.");
        case kCannotClaim:
            refuse(which + " is held by another program" + reason + ": end that program.");
        case kIllegalDeviceString:
            if (settings.device) {
                refuse("DOTWALL_FTDI_DEVICE=\"" + *settings.device + "\" names no adapter" +
                       reason + ": write it as " + kDeviceForms + ".");
            }
            [[fallthrough]];
        default:
            refuse("libftdi could not open " + which + reason + ".");
    }
}

}  // namespace

void Adapter::Closer::operator()(ftdi_context* adapter) const {
    ftdi_usb_close(adapter);
    ftdi_free(adapter);
}

Adapter::Adapter(const AdapterSettings& settings)
    : Device(Wiring::DataRegisterByte), adapter_(ftdi_new()) {
    ftdi_context* adapter = adapter_.get();
    if (adapter == nullptr) {
        refuse("libftdi could not start (ftdi_new).");
    }
    if (ftdi_set_interface(adapter, INTERFACE_A) < 0) {
        refuse("libftdi could not choose channel A" + said(adapter, "ftdi_set_interface") + ".");
    }
    if (const int result = open(adapter, settings); result < 0) {
        refuseOpen(adapter, settings, result);
    }
    // The rate before bit-bang mode, so that libftdi passes it to the chip as it is.
    if (ftdi_set_baudrate(adapter, chipBaudRate(settings.bytesPerSecond)) < 0) {
        refuse("the adapter refused the rate of " + std::to_string(settings.bytesPerSecond) +
               " bytes per second" + said(adapter, "ftdi_set_baudrate") +
               ": set DOTWALL_FTDI_BYTES_PER_SECOND to another.");
    }
    constexpr unsigned char kAllPinsOut = 0xFF;
    if (ftdi_set_bitmode(adapter, kAllPinsOut, BITMODE_BITBANG) < 0 ||
        ftdi_write_data_set_chunksize(adapter, ChipStream::kTransferBytes) < 0) {
        refuse("the adapter refused asynchronous bit-bang mode on its eight pins" +
               said(adapter, "ftdi_set_bitmode") + ": is it an FT232H or FT2232H?");
    }
    stream_ = std::make_unique<ChipStream>(adapter, settings.bytesPerSecond);
    // The pins low before the first byte of a stream.
    if (!stream_->write(0) || !stream_->drain()) {
        refuse("the adapter took no byte (" + stream_->failure() + ").");
    }
}

Adapter::~Adapter() {
    finish();
}

void Adapter::finish() {
    if (stream_ && stream_->drain() && stream_->lastByte() != 0) {
        stream_->write(0);
        stream_->drain();
    }
}

std::string Adapter::failure() const {
    return stream_->failed() ? "The adapter stopped taking bytes (" + stream_->failure() +
                                   "): it was unplugged or failed, and the stream ended."
                             : "";
}

std::string Adapter::close() {
    finish();
    const long underruns = stream_->underruns();
    return underruns == 0 ? ""
                          : "The adapter ran out of bytes " + std::to_string(underruns) +
                                " times while the stream ran: the PC did not keep up, and the "
                                "panel saw its lines stall.";
}

}  // namespace ftdi

const char* const kLibraryName = "libWinIo.so (FTDI)";
const char* const kDeviceName = "adapter";

std::unique_ptr<Device> openDevice() {
    return std::make_unique<ftdi::Adapter>(ftdi::settingsFromEnvironment());
}

}  // namespace dotwall::ports

#include "base/runtime_error.h"

namespace dotwall {

std::string_view errorKindName(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::Overflow:
            return "Overflow";
        case ErrorKind::TypeMismatch:
            return "Type mismatch";
        case ErrorKind::IndexOutOfRange:
            return "Index out of range";
        case ErrorKind::FloatingPointFault:
            return "Floating-point fault";
        case ErrorKind::FileAccess:
            return "File access error";
        case ErrorKind::InvalidPicture:
            return "Invalid picture";
        case ErrorKind::InvalidFrame:
            return "Invalid frame";
        case ErrorKind::InvalidProfile:
            return "Invalid panel profile";
        case ErrorKind::LibraryNotFound:
            return "Library not found";
        case ErrorKind::FunctionNotFound:
            return "Function not found";
        case ErrorKind::DriverFailed:
            return "Driver failed";
        case ErrorKind::PortWriteRefused:
            return "Port write refused";
        case ErrorKind::ForeignObject:
            return "Foreign object";
        case ErrorKind::PanelBusy:
            return "Panel busy";
        case ErrorKind::NoStream:
            return "No stream";
        case ErrorKind::InvalidSetting:
            return "Invalid setting";
        case ErrorKind::TimedOut:
            return "Timed out";
        case ErrorKind::NetworkFailed:
            return "Network failed";
        case ErrorKind::WrongUsage:
            return "Wrong usage";
        case ErrorKind::Stopped:
            return "Stopped";
    }
    return "Run-time error";
}

}  // namespace dotwall

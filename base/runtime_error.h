#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace dotwall {

// What went wrong, for the program that must decide what follows (a window reports it and
// goes on; a command-line tool picks its exit status) and, by its name, for a person.
enum class ErrorKind {
    Overflow,            // a number outside the range it must fit
    TypeMismatch,        // a text that is no number
    IndexOutOfRange,     // a frame buffer index outside 0 to 72000
    FloatingPointFault,  // a division by zero, an invalid operation or an overflow
    FileAccess,          // a file that cannot be read or written
    InvalidPicture,      // a file that is no picture, or a damaged one
    InvalidFrame,        // a file that is no panel frame
    InvalidProfile,      // a panel profile that cannot be used
    LibraryNotFound,     // an outside library that cannot be loaded
    FunctionNotFound,    // a function its library lacks
    DriverFailed,        // the port driver did not start
    PortWriteRefused,    // the port library did not put a byte on the wire
    ForeignObject,       // a shared memory object that is no virtual panel of this user
    PanelBusy,           // a virtual panel another program feeds already
    NoStream,            // a virtual panel whose feeding program is gone
    InvalidSetting,      // an environment variable's value that means nothing
    TimedOut,            // what was waited for did not come in time
    NetworkFailed,       // a network address that cannot be listened on, a socket that failed
    WrongUsage,          // a command line that does not say what to do
    Stopped,             // the work was stopped by a signal
};

// A short name of the kind for a person, e.g. "Overflow".
std::string_view errorKindName(ErrorKind kind);

// The one exception type for every failure; what() is a sentence for a person that names
// what was wrong (the value, the file, the library and function).
class RuntimeError : public std::runtime_error {
  public:
    RuntimeError(ErrorKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}

    ErrorKind kind() const { return kind_; }

  private:
    ErrorKind kind_;
};

}  // namespace dotwall

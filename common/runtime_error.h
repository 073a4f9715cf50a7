#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace dotwall {

// The kinds of failure a handler can meet. Every failure of the programs' own logic is
// raised as a RuntimeError of one of these kinds and reported by the window's error guard.
enum class ErrorKind {
    Overflow,
    TypeMismatch,
    IndexOutOfRange,
    FloatingPointFault,
    FileAccess,
    InvalidPicture,
    LibraryNotFound,
    FunctionNotFound,
};

// A short name of the kind for a person, e.g. "Overflow".
std::string_view errorKindName(ErrorKind kind);

// One exception type for every failure; what() is a sentence for a person that names
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

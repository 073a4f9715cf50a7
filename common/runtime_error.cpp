#include "common/runtime_error.h"

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
        case ErrorKind::LibraryNotFound:
            return "Library not found";
        case ErrorKind::FunctionNotFound:
            return "Function not found";
    }
    return "Run-time error";
}

}  // namespace dotwall

#include "base/float_checks.h"

#include <charconv>
#include <string>

#include "base/runtime_error.h"

namespace dotwall {

namespace {

// The shortest text that reads back as the same number, the same in every locale.
std::string numberText(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

const char* faultName(char operation, double right, double result) {
    if (std::isnan(result)) {
        return "Invalid operation";
    }
    return operation == '/' && right == 0 ? "Division by zero" : "Overflow";
}

}  // namespace

void throwFloatingPointFault(std::string_view calculation, double left, char operation,
                             double right, double result) {
    throw RuntimeError(ErrorKind::FloatingPointFault,
                       std::string(faultName(operation, right, result)) + " in " +
                           std::string(calculation) + ": " + numberText(left) + " " + operation +
                           " " + numberText(right) + " is not a finite number.");
}

}  // namespace dotwall

#pragma once

#include <cmath>
#include <concepts>
#include <string_view>

namespace dotwall {

// Floating-point results are tested right after they are computed. A result that is not a
// finite number is a fault, raised as RuntimeError FloatingPointFault: a division by zero,
// an invalid operation (0 / 0, infinity - infinity, a NaN operand) or an overflow.
// `calculation` names what was computed, for the message.

[[noreturn]] void throwFloatingPointFault(std::string_view calculation, double left, char operation,
                                          double right, double result);

template <std::floating_point Number>
Number checkedDivide(Number dividend, Number divisor, std::string_view calculation) {
    const Number quotient = dividend / divisor;
    if (!std::isfinite(quotient)) [[unlikely]] {
        throwFloatingPointFault(calculation, dividend, '/', divisor, quotient);
    }
    return quotient;
}

template <std::floating_point Number>
Number checkedMultiply(Number left, Number right, std::string_view calculation) {
    const Number product = left * right;
    if (!std::isfinite(product)) [[unlikely]] {
        throwFloatingPointFault(calculation, left, '*', right, product);
    }
    return product;
}

}  // namespace dotwall

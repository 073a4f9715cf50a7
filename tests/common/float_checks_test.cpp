#include "float_checks.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "runtime_error.h"

namespace dotwall {
namespace {

template <typename Calculation>
std::string faultMessage(Calculation calculation) {
    try {
        calculation();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::FloatingPointFault);
        return error.what();
    }
    ADD_FAILURE() << "no fault raised";
    return "";
}

TEST(FloatChecks, FaultsAreNamedWithTheCalculationAndItsOperands) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kLargest = std::numeric_limits<float>::max();

    EXPECT_EQ(faultMessage([] { checkedDivide(640.0, 0.0, "the column"); }),
              "Division by zero in the column: 640 / 0 is not a finite number.");
    EXPECT_EQ(faultMessage([] { checkedDivide(0.0, 0.0, "the column"); }),
              "Invalid operation in the column: 0 / 0 is not a finite number.");
    EXPECT_EQ(faultMessage([&] { checkedDivide(kNaN, 640.0f, "the pitch"); }),
              "Invalid operation in the pitch: nan / 640 is not a finite number.");
    // Overflow of the 32-bit result, although the operands fit a double easily.
    EXPECT_EQ(faultMessage([&] { checkedDivide(kLargest, 0.5f, "the pitch"); }).substr(0, 21),
              "Overflow in the pitch");
    EXPECT_EQ(faultMessage([] { checkedMultiply(1e300, 1e300, "the line"); }),
              "Overflow in the line: 1e+300 * 1e+300 is not a finite number.");
}

}  // namespace
}  // namespace dotwall

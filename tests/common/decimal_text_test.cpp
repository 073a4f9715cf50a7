#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "decimal_text.h"

namespace dotwall {
namespace {

TEST(DecimalText, PlainDigitsWithAMinusOnlyForNegatives) {
    EXPECT_EQ(decimalText(0), "0");
    EXPECT_EQ(decimalText(16777215), "16777215");
    EXPECT_EQ(decimalText(-1), "-1");
    EXPECT_EQ(decimalText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

TEST(DecimalText, SignedNumberFormPutsABlankWhereTheSignWouldBe) {
    EXPECT_EQ(signedNumberText(5), " 5");
    EXPECT_EQ(signedNumberText(12), " 12");
    EXPECT_EQ(signedNumberText(0), " 0");
    EXPECT_EQ(signedNumberText(-3), "-3");
}

TEST(DecimalText, FloorTakesTheLargestWholeNumberNotAbove) {
    EXPECT_EQ(floorDecimalText(319.999), "319");
    EXPECT_EQ(floorDecimalText(320.0), "320");
    EXPECT_EQ(floorDecimalText(-0.25), "-1");
    EXPECT_EQ(floorDecimalText(-0.0), "0");
    EXPECT_EQ(floorDecimalText(1e20), "100000000000000000000");
}

}  // namespace
}  // namespace dotwall

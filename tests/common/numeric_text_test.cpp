#include "numeric_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime_error.h"

namespace dotwall {
namespace {

using ::testing::HasSubstr;

template <typename Integer>
struct Accepted {
    std::string text;
    Integer value;
};

template <typename Convert>
void expectErrorForEach(Convert convert, const std::vector<std::string>& texts, ErrorKind kind) {
    for (const std::string& text : texts) {
        SCOPED_TRACE("text \"" + text + "\"");
        try {
            convert(text);
            ADD_FAILURE() << "accepted";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), kind);
            EXPECT_THAT(error.what(), HasSubstr("\"" + text + "\""));
        }
    }
}

TEST(NumericText, ByteAcceptsDecimalHexadecimalAndOctalNumbersWithBlanksAround) {
    const std::vector<Accepted<std::uint8_t>> table = {
        {"0", 0},         {" 255 ", 255}, {"\t7\t", 7},         {"+12", 12},    {"0017", 17},
        {"&HFF", 255},    {"&hfF", 255},  {"&H00ff", 255},      {"&O377", 255}, {"&o17", 15},
        {"1e2", 100},     {"25E1", 250},  {"2.55e2", 255},      {".5e1", 5},    {"5.", 5},
        {"2500e-1", 250}, {"1e-400", 0},  {"0e99999999999", 0},
    };
    for (const auto& [text, value] : table) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(toByte(text), value);
    }
}

TEST(NumericText, FractionsRoundHalfToEvenOnTheDecimalDigits) {
    const std::vector<Accepted<std::uint8_t>> table = {
        {"2.5", 2},  {"3.5", 4},  {"0.5", 0},  {"1.5", 2},  {"254.5", 254},
        {"2.49", 2}, {"2.51", 3}, {"-0.5", 0}, {"-0.4", 0}, {"25e-1", 2},
    };
    for (const auto& [text, value] : table) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(toByte(text), value);
    }
    // A tie broken by a digit that a double could not hold.
    EXPECT_EQ(toByte("2.50000000000000000001"), 3);
}

TEST(NumericText, ByteOverflowsOutsideZeroTo255AfterRounding) {
    expectErrorForEach(toByte,
                       {"256", "-1", "255.5", "-0.6", "1e3", "&H100", "&HFFFF", "&O400",
                        "99999999999999999999999999", "1e999999999999", "2.56e2"},
                       ErrorKind::Overflow);
}

TEST(NumericText, TextsThatAreNotNumbersAreTypeMismatches) {
    expectErrorForEach(toByte, {"",    "   ",  "abc",   "12x", "&HG",   "&H",  "&",   "&O8",
                                "&B1", "-&H1", "& HFF", "1 2", "- 1",   "1e",  "1e+", ".",
                                "+",   "-",    "0x10",  "1,5", "1.2.3", "inf", "nan", "e5"},
                       ErrorKind::TypeMismatch);
}

TEST(NumericText, Int16ReadsShortHexadecimalAsSigned16BitAndLongerAs32Bit) {
    const std::vector<Accepted<std::int16_t>> table = {
        {"&H378", 888},   {"&HFFFF", -1},       {"&H8000", -32768},     {"&H7FFF", 32767},
        {"&O177777", -1}, {"&HFFFFFFFF", -1},   {"&HFFFF8000", -32768}, {"-32768", -32768},
        {"32767", 32767}, {"-32768.5", -32768}, {" -12 ", -12},
    };
    for (const auto& [text, value] : table) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(toInt16(text), value);
    }
}

TEST(NumericText, Int16OverflowsOutsideItsRange) {
    expectErrorForEach(
        toInt16, {"32768", "-32769", "32767.5", "&H10000", "&H7FFFFFFF", "&H123456789", "&O200000"},
        ErrorKind::Overflow);
}

TEST(NumericText, AnOverflowMessageNamesTheTextAndTheRange) {
    try {
        toByte(" 256 ");
        FAIL() << "accepted";
    } catch (const RuntimeError& error) {
        EXPECT_STREQ(error.what(), "The text \" 256 \" holds a number outside 0 to 255.");
    }
}

}  // namespace
}  // namespace dotwall

#include "testnames.h"
#include "textnumbers.h"

#include <climits>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

TEST(IntPower, ExponentZeroOrLessGivesOne) {
    EXPECT_EQ(IntPower(16, 0), 1);
    EXPECT_EQ(IntPower(16, -1), 1);
    EXPECT_EQ(IntPower(0, INT_MIN), 1);
}

TEST(IntPower, RepeatedMultiplication) {
    EXPECT_EQ(IntPower(16, 1), 16);
    EXPECT_EQ(IntPower(16, 2), 256);
    EXPECT_EQ(IntPower(10, 3), 1000);
    EXPECT_EQ(IntPower(-2, 3), -8);
    EXPECT_EQ(IntPower(0, 5), 0);
}

// Overflow wraps as 32-bit arithmetic does instead of being undefined; a huge exponent returns.
TEST(IntPower, WrapsInsteadOfOverflowing) {
    EXPECT_EQ(IntPower(2, 31), INT_MIN);
    EXPECT_EQ(IntPower(2, 32), 0);
    EXPECT_EQ(static_cast<unsigned>(IntPower(3, INT_MAX)),
              static_cast<unsigned>(IntPower(3, INT_MAX - 1)) * 3U);
}

struct SDigitsCase {
    std::string text;
    int radix;
    int expected;
};

void PrintTo(const SDigitsCase& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class ParseDigitsTest : public testing::TestWithParam<SDigitsCase> {};

TEST_P(ParseDigitsTest, Value) {
    EXPECT_EQ(ParseDigits(GetParam().text, GetParam().radix), GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDigitsTest,
    testing::Values(SDigitsCase{"", 16, 0}, SDigitsCase{"2d0", 16, 0x2d0},
                    SDigitsCase{"2D0", 16, 0x2d0}, SDigitsCase{"3f8", 16, 0x3f8},
                    SDigitsCase{"15", 10, 15}, SDigitsCase{"7", 10, 7}, SDigitsCase{"007", 10, 7},
                    // No validation: 'x' counts 33, 'g' 16, a blank 32 - 87.
                    SDigitsCase{"x8", 16, 33 * 16 + 8}, SDigitsCase{"g", 16, 16},
                    SDigitsCase{" ", 10, 32 - 87}, SDigitsCase{"a", 10, 10}),
    [](const testing::TestParamInfo<SDigitsCase>& row) {
        return "Radix" + std::to_string(row.param.radix) + "_" + TextName(row.param.text);
    });

TEST(ParseDigits, LongTextWrapsAndReturns) {
    const std::string text(200000, 'f');
    const std::string longer = "1" + text;
    // The leading "1" is worth 16^200000, which is 0 modulo 2^32.
    EXPECT_EQ(ParseDigits(longer, 16), ParseDigits(text, 16));
}

TEST(ParseDigits, HighLatin1BytesCountTheirUnsignedCode) {
    EXPECT_EQ(ParseDigits("\xe9", 10), 0xe9 - 87);
}

struct SAddressCase {
    std::string text;
    std::string digits;
    int radix;
    int value;
};

void PrintTo(const SAddressCase& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class AddressTest : public testing::TestWithParam<SAddressCase> {};

TEST_P(AddressTest, DigitsAndValue) {
    const SAddressCase& row = GetParam();
    EXPECT_EQ(AddressDigits(row.text), row.digits) << row.text;
    EXPECT_EQ(ParseAddress(row.text, row.radix), row.value) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressTest,
    testing::Values(SAddressCase{"0x2d0", "2d0", 16, 720}, SAddressCase{"2d0", "2d0", 16, 720},
                    SAddressCase{"190", "190", 16, 0x190}, SAddressCase{"0x1234", "234", 16, 0x234},
                    SAddressCase{"15", "15", 10, 15}, SAddressCase{"7", "7", 10, 7},
                    SAddressCase{"", "", 16, 0},
                    // Derived addresses below 0x100 read as the address they name.
                    SAddressCase{"0x8", "8", 16, 8}, SAddressCase{"0x10", "10", 16, 0x10},
                    SAddressCase{"0x0", "0", 16, 0}, SAddressCase{"0xd8", "d8", 16, 0xd8},
                    SAddressCase{"0X8", "8", 16, 8}, SAddressCase{"0x", "", 16, 0},
                    SAddressCase{"NONE", "ONE", 16, 0}),
    [](const testing::TestParamInfo<SAddressCase>& row) { return TextName(row.param.text); });

// Only the exact upper-case word means "not set"; other spellings are read as digits.
TEST(ParseAddress, NoneIsCaseSensitive) {
    EXPECT_EQ(ParseAddress("NONE", 10), 0);
    EXPECT_EQ(ParseAddress("none", 16), ParseDigits("one", 16));
    EXPECT_NE(ParseAddress("none", 16), 0);
}

TEST(MakePortIndex, OneBasedDecimal) {
    EXPECT_EQ(MakePortIndex(0), "1");
    EXPECT_EQ(MakePortIndex(3), "4");
    EXPECT_EQ(MakePortIndex(15), "16");
    EXPECT_EQ(MakePortIndex(INT_MAX), "2147483648");
}

struct SLeadingCase {
    std::string text;
    int expected;
};

void PrintTo(const SLeadingCase& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class LeadingIntTest : public testing::TestWithParam<SLeadingCase> {};

TEST_P(LeadingIntTest, ReadsAsAtoi) {
    EXPECT_EQ(LeadingInt(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingIntTest,
    testing::Values(SLeadingCase{"", 0}, SLeadingCase{"X", 0}, SLeadingCase{"003", 3},
                    SLeadingCase{"10000", 10000}, SLeadingCase{"12ab", 12}, SLeadingCase{" \t7", 7},
                    SLeadingCase{"+5", 5}, SLeadingCase{"-5", -5}, SLeadingCase{"- 5", 0},
                    SLeadingCase{"2147483647", INT_MAX}, SLeadingCase{"2147483648", INT_MAX},
                    SLeadingCase{"99999999999999999999999", INT_MAX},
                    SLeadingCase{"-2147483648", INT_MIN},
                    SLeadingCase{"-99999999999999999999999", INT_MIN}),
    [](const testing::TestParamInfo<SLeadingCase>& row) { return TextName(row.param.text); });

} // namespace

#include "portderivation.h"
#include "testnames.h"

#include <climits>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

struct SDerivationCase {
    std::string base;
    int index;
    std::string expected;
};

void PrintTo(const SDerivationCase& row, std::ostream* out) {
    *out << '"' << row.base << '"';
}

// "0x200_Port3": the base and the port's index on its board.
std::string DerivationName(const testing::TestParamInfo<SDerivationCase>& row) {
    return TextName(row.param.base) + "_Port" + TextName(std::to_string(row.param.index));
}

class MakePortAddressTest : public testing::TestWithParam<SDerivationCase> {};

TEST_P(MakePortAddressTest, Address) {
    EXPECT_EQ(MakePortAddress(GetParam().base, GetParam().index), GetParam().expected)
        << GetParam().base << " #" << GetParam().index;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakePortAddressTest,
    testing::Values(SDerivationCase{"0x200", 0, "0x200"}, SDerivationCase{"0x200", 3, "0x218"},
                    SDerivationCase{"0x3c0", 7, "0x3f8"}, SDerivationCase{"0x3e0", 3, "0x3f8"},
                    SDerivationCase{"0x0d0", 1, "0xd8"}, SDerivationCase{"0x000", 0, "0x0"},
                    SDerivationCase{"0x000", 1, "0x8"}, SDerivationCase{"0x000", 2, "0x10"},
                    SDerivationCase{"0x2D0", 1, "0x2d8"}, SDerivationCase{"190", 1, "0x198"},
                    SDerivationCase{"0x1234", 0, "0x234"}, SDerivationCase{"0x3f8", 1, "0x400"},
                    // A derived address used as a base reads as the address it names.
                    SDerivationCase{"0x8", 1, "0x10"},
                    // Digits are read up to the first character that is not one.
                    SDerivationCase{"0x2zz", 0, "0x2"}, SDerivationCase{"", 1, "0x8"},
                    SDerivationCase{"NONE", 0, "0x3f8"}, SDerivationCase{"NONE", 1, "0x2f8"},
                    SDerivationCase{"NONE", 2, "0x3e8"}, SDerivationCase{"NONE", 3, "0x2e8"},
                    SDerivationCase{"NONE", 4, "NONE"}, SDerivationCase{"NONE", 7, "NONE"},
                    SDerivationCase{"NONE", -1, "NONE"}, SDerivationCase{"none", 2, "0x3e8"},
                    SDerivationCase{"NoNe", 0, "0x3f8"}),
    DerivationName);

TEST(MakePortAddress, HugeIndexDoesNotOverflow) {
    EXPECT_EQ(MakePortAddress("0x000", INT_MAX), "0x3fffffff8");
}

class MakePortCOMPortTest : public testing::TestWithParam<SDerivationCase> {};

TEST_P(MakePortCOMPortTest, COMName) {
    EXPECT_EQ(MakePortCOMPort(GetParam().base, GetParam().index), GetParam().expected)
        << GetParam().base << " #" << GetParam().index;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakePortCOMPortTest,
    testing::Values(SDerivationCase{"COM3", 0, "COM3"}, SDerivationCase{"COM3", 3, "COM6"},
                    SDerivationCase{"COM10", 0, "COM10"}, SDerivationCase{"COM254", 3, "COM257"},
                    SDerivationCase{"COM255", 7, "COM262"}, SDerivationCase{"NONE", 0, "COM1"},
                    SDerivationCase{"NONE", 3, "COM4"}, SDerivationCase{"none", 7, "COM8"},
                    // The first three characters are dropped whatever they are.
                    SDerivationCase{"XYZ12", 1, "COM13"}, SDerivationCase{"COM", 2, "COM2"},
                    SDerivationCase{"CO", 0, "COM0"}, SDerivationCase{"COMx", 1, "COM1"},
                    SDerivationCase{"COM-4", 1, "COM-3"}, SDerivationCase{"COM 9", 0, "COM9"},
                    SDerivationCase{"COM99999999999999999999", 1, "COM2147483648"}),
    DerivationName);

} // namespace

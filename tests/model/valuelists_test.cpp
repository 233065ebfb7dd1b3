#include "portderivation.h"
#include "valuelists.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct SAddressList {
    const char* name;
    const std::vector<std::string>& (*list)();
    std::size_t size;
    long first;
    long step;
};

void PrintTo(const SAddressList& row, std::ostream* out) {
    *out << '"' << row.name << '"';
}

long HexOf(const std::string& text) {
    return std::strtol(text.c_str() + 2, nullptr, 16);
}

class AddressListTest : public testing::TestWithParam<SAddressList> {};

// Every entry is "0x" and exactly three lower-case hex digits, ascending by the list's step.
TEST_P(AddressListTest, EntriesFollowFirstAndStep) {
    const SAddressList& row = GetParam();
    const auto& list = row.list();
    ASSERT_EQ(list.size(), row.size);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& entry = list[i];
        ASSERT_EQ(entry.size(), 5U) << entry;
        EXPECT_EQ(entry.substr(0, 2), "0x");
        EXPECT_EQ(entry.find_first_not_of("0123456789abcdef", 2), std::string::npos) << entry;
        EXPECT_EQ(HexOf(entry), row.first + row.step * static_cast<long>(i)) << entry;
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, AddressListTest,
                         testing::Values(SAddressList{"B1", &BaseAddressListB1, 61, 0x200, 8},
                                         SAddressList{"B2", &BaseAddressListB2, 121, 0x000, 8},
                                         SAddressList{"V1", &VectorAddressListV1, 32, 0x200, 16},
                                         SAddressList{"V2", &VectorAddressListV2, 128, 0x000, 8},
                                         SAddressList{"P", &PortAddressListP, 64, 0x200, 8}),
                         [](const testing::TestParamInfo<SAddressList>& row) {
                             return row.param.name;
                         });

TEST(AddressLists, LastEntries) {
    EXPECT_EQ(BaseAddressListB1().back(), "0x3e0");
    EXPECT_EQ(BaseAddressListB2().front(), "0x000");
    EXPECT_EQ(BaseAddressListB2().back(), "0x3c0");
    EXPECT_EQ(VectorAddressListV1().back(), "0x3f0");
    EXPECT_EQ(VectorAddressListV2().back(), "0x3f8");
    EXPECT_EQ(PortAddressListP().back(), "0x3f8");
    EXPECT_EQ(BaseAddressListB2()[26], "0x0d0");
}

// The last port of a full board on the last base address lands on the highest listed address.
TEST(AddressLists, LastBaseAddressesReachTheTopPortAddress) {
    EXPECT_EQ(MakePortAddress(BaseAddressListB1().back(), 3), PortAddressListP().back());
    EXPECT_EQ(MakePortAddress(BaseAddressListB2().back(), 7), PortAddressListP().back());
}

TEST(COMLists, BaseListIsCOM3ToCOM255) {
    const auto& list = BaseCOMPortList();
    ASSERT_EQ(list.size(), 253U);
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i], "COM" + std::to_string(i + 3));
    }
}

TEST(COMLists, PortListDependsOnStandardMode) {
    const auto& standard = PortCOMPortList(1);
    ASSERT_EQ(standard.size(), 255U);
    EXPECT_EQ(standard.front(), "COM1");
    EXPECT_EQ(standard[1], "COM2");
    EXPECT_EQ(standard[9], "COM10");
    EXPECT_EQ(standard.back(), "COM255");
    EXPECT_EQ(PortCOMPortList(0), BaseCOMPortList());
}

TEST(IRQLists, Entries) {
    const std::vector<std::string> full = {"3", "4", "5", "6", "7", "9", "10", "11", "12", "15"};
    const std::vector<std::string> brief = {"3", "4", "5", "6", "7", "9"};
    EXPECT_EQ(ShareIRQList(), full);
    EXPECT_EQ(PortIRQListFull(), full);
    EXPECT_EQ(PortIRQListShort(), brief);
}

// Standard-mode addresses are what a base of "NONE" derives, and the addresses and COM names
// after leaving standard mode are what the fixed base values derive.
TEST(StandardModeTable, AgreesWithTheDerivationRules) {
    const auto& table = StandardModeTable();
    ASSERT_EQ(table.size(), 4U);
    const char* irqs[] = {"4", "3", "10", "5"};
    for (int i = 0; i < 4; ++i) {
        const auto& row = table[static_cast<std::size_t>(i)];
        EXPECT_EQ(row.address, MakePortAddress("NONE", i));
        EXPECT_EQ(row.comPort, MakePortCOMPort("NONE", i));
        EXPECT_EQ(row.irq, irqs[i]);
        EXPECT_EQ(row.addressAfter, MakePortAddress(kBaseAddressAfterStandardMode, i));
        EXPECT_EQ(row.comPortAfter, MakePortCOMPort(kBaseCOMPortAfterStandardMode, i));
    }
    EXPECT_EQ(table[0].address, "0x3f8");
    EXPECT_EQ(table[3].address, "0x2e8");
    EXPECT_EQ(table[3].comPortAfter, "COM6");
}

} // namespace

#include "boardtype.h"
#include "valuelists.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

using List = const std::vector<std::string>&;

const std::vector<std::string> kNoEntries;

struct SListsRow {
    const char* name;
    std::string model;
    EShareIRQMode mode;
    const char* modeText;
    List baseAddresses;
    List vectorAddresses;
    List portIRQs;
};

void PrintTo(const SListsRow& row, std::ostream* out) {
    *out << row.name;
}

const SListsRow kRows[] = {
    {"RX201", "RX-201", EShareIRQMode::No, "No", kNoEntries, kNoEntries, PortIRQListFull()},
    {"RX209", "RX-209", EShareIRQMode::No, "No", kNoEntries, kNoEntries, PortIRQListFull()},
    {"RX401", "RX-401", EShareIRQMode::Both, "Both", BaseAddressListB1(), VectorAddressListV1(),
     PortIRQListFull()},
    {"RX404", "RX-404", EShareIRQMode::Both, "Both", BaseAddressListB1(), VectorAddressListV1(),
     PortIRQListFull()},
    {"RX408", "RX-408", EShareIRQMode::Yes, "Yes", BaseAddressListB2(), VectorAddressListV2(),
     PortIRQListFull()},
    {"RQ6001ShortIRQList", "RQ-6001", EShareIRQMode::No, "No", kNoEntries, kNoEntries,
     PortIRQListShort()},
    {"RQ6002", "RQ-6002", EShareIRQMode::No, "No", kNoEntries, kNoEntries, PortIRQListFull()},
    {"RQ6004", "RQ-6004", EShareIRQMode::Both, "Both", BaseAddressListB1(), VectorAddressListV1(),
     PortIRQListFull()},
    // Names are compared byte for byte: another spelling is another (unknown) model.
    {"LowerCaseRQ6001IsUnknown", "rq-6001", EShareIRQMode::Both, "Both", BaseAddressListB1(),
     VectorAddressListV1(), PortIRQListFull()},
    {"EmptyNameIsUnknown", "", EShareIRQMode::Both, "Both", BaseAddressListB1(),
     VectorAddressListV1(), PortIRQListFull()},
};

class BoardTypeListsTest : public testing::TestWithParam<SListsRow> {};

TEST_P(BoardTypeListsTest, AnswersTheListsAndSharingOfItsModel) {
    const SListsRow& row = GetParam();
    const CBoardType type(row.model);
    EXPECT_EQ(type.GetShareIRQModeKind(), row.mode);
    EXPECT_EQ(type.GetShareIRQMode(), row.modeText);
    EXPECT_EQ(type.GetBaseAddressList(), row.baseAddresses);
    EXPECT_EQ(type.GetVectorAddressList(), row.vectorAddresses);
    EXPECT_EQ(type.GetPortIRQList(), row.portIRQs);
}

INSTANTIATE_TEST_SUITE_P(Models, BoardTypeListsTest, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<SListsRow>& row) {
                             return std::string(row.param.name);
                         });

TEST(BoardTypeLists, EachListBeginsAtItsModelsMinimumAddress) {
    for (const std::string& name : BoardTypeNames()) {
        const CBoardType type(name);
        if (!type.GetBaseAddressList().empty()) {
            EXPECT_EQ(type.GetBaseAddressList().front(), type.GetMinBaseAddress()) << name;
        }
        if (!type.GetVectorAddressList().empty()) {
            EXPECT_EQ(type.GetVectorAddressList().front(), type.GetMinVectorAddress()) << name;
        }
    }
}

} // namespace

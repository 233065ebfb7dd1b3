#include "boardtype.h"
#include "testnames.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct SExpected {
    std::string model;
    int ports;
    int individually;
    std::string shareMode;
    std::string minBase;
    std::string minVector;
    int standardMode;
};

void PrintTo(const SExpected& row, std::ostream* out) {
    *out << '"' << row.model << '"';
}

const std::vector<SExpected> kExpected = {
    {"RX-201", 2, 1, "No", "0x200", "NONE", 0},
    {"RX-202", 2, 1, "No", "0x200", "NONE", 0},
    {"RX-204E", 2, 1, "No", "0x200", "NONE", 0},
    {"RX-208E", 2, 1, "No", "0x200", "NONE", 0},
    {"RX-209", 4, 1, "No", "0x200", "0x200", 0},
    {"RX-401", 4, 0, "Both", "0x200", "0x200", 1},
    {"RX-402", 4, 0, "Both", "0x200", "0x200", 1},
    {"RX-404", 4, 0, "Both", "0x200", "0x200", 1},
    {"RX-408", 8, 0, "Yes", "0x000", "0x000", 0},
    {"RQ-6001", 2, 1, "No", "0x200", "NONE", 0},
    {"RQ-6002", 2, 1, "No", "0x200", "NONE", 0},
    {"RQ-6004", 4, 0, "Both", "0x200", "0x200", 1},
    // Any other text answers as a base-addressed four-port board without standard mode.
    {"rx-401", 4, 0, "Both", "0x200", "0x200", 0},
    {"", 4, 0, "Both", "0x200", "0x200", 0},
    {"RX-401 ", 4, 0, "Both", "0x200", "0x200", 0},
    {"RX-20", 4, 0, "Both", "0x200", "0x200", 0},
    {std::string("RX-201\0", 7), 4, 0, "Both", "0x200", "0x200", 0},
};

class BoardTypeTest : public testing::TestWithParam<SExpected> {};

TEST_P(BoardTypeTest, AnswersForItsModel) {
    const SExpected& expected = GetParam();
    const CBoardType type(expected.model);
    EXPECT_EQ(type.GetPortsPerBoard(), expected.ports);
    EXPECT_EQ(type.IsIndividuallyAddressed(), expected.individually);
    EXPECT_EQ(type.GetShareIRQMode(), expected.shareMode);
    EXPECT_EQ(type.GetMinBaseAddress(), expected.minBase);
    EXPECT_EQ(type.GetMinVectorAddress(), expected.minVector);
    EXPECT_EQ(type.SupportsStandardMode(), expected.standardMode);
}

INSTANTIATE_TEST_SUITE_P(AllModels, BoardTypeTest, testing::ValuesIn(kExpected),
                         [](const testing::TestParamInfo<SExpected>& row) {
                             return ModelName(row.param.model);
                         });

TEST(BoardTypeNames, TwelveModelsInFormOrder) {
    const std::vector<std::string> expected = {"RX-201", "RX-202",  "RX-204E", "RX-208E",
                                               "RX-209", "RX-401",  "RX-402",  "RX-404",
                                               "RX-408", "RQ-6001", "RQ-6002", "RQ-6004"};
    EXPECT_EQ(BoardTypeNames(), expected);
}

TEST(BoardTypeNames, EveryStandardModeModelHasFourPorts) {
    for (const auto& name : BoardTypeNames()) {
        const CBoardType type(name);
        if (type.SupportsStandardMode() != 0) {
            EXPECT_EQ(type.GetPortsPerBoard(), 4) << name;
            EXPECT_EQ(type.IsIndividuallyAddressed(), 0) << name;
        }
    }
}

TEST(BoardType, KeepsTheNameItWasBuiltFrom) {
    std::string model = "RX-408";
    const CBoardType type(model);
    model = "RX-201";
    EXPECT_EQ(type.GetPortsPerBoard(), 8);
    EXPECT_EQ(CBoardType(model).GetPortsPerBoard(), 2);
}

TEST(BoardType, IsACObjectOfItsOwnKind) {
    const CBoardType type("RX-401");
    EXPECT_STREQ(type.GetRuntimeClassName(), "CBoardType");
    EXPECT_TRUE(type.IsKindOf("CBoardType"));
    EXPECT_TRUE(type.IsKindOf("CObject"));
    EXPECT_FALSE(type.IsKindOf("CBoardObj"));
}

} // namespace

#include "boardobj.h"
#include "formsfixture.h"
#include "headlesscheckbox.h"
#include "headlesscombobox.h"
#include "qserdoc.h"

#include <algorithm>
#include <strings.h>
#include <tuple>

namespace {
// One row of the model catalogue as the board form must present it.
struct SModelRow {
    const char* model;
    const char* sharing;
    bool individual;
    bool standardMode;
    int baseAddresses;
    int vectorAddresses;
};

const SModelRow kModels[] = {
    {"RX-201", "No", true, false, 0, 0},       {"RX-202", "No", true, false, 0, 0},
    {"RX-204E", "No", true, false, 0, 0},      {"RX-208E", "No", true, false, 0, 0},
    {"RX-209", "No", true, false, 0, 0},       {"RX-401", "Both", false, true, 61, 32},
    {"RX-402", "Both", false, true, 61, 32},   {"RX-404", "Both", false, true, 61, 32},
    {"RX-408", "Yes", false, false, 121, 128}, {"RQ-6001", "No", true, false, 0, 0},
    {"RQ-6002", "No", true, false, 0, 0},      {"RQ-6004", "Both", false, true, 61, 32},
    {"rx-401", "Both", false, false, 61, 32}, // not one of the twelve: the catch-all row
};

void PrintTo(const SModelRow& row, std::ostream* os) {
    *os << row.model;
}

using RulesCase = std::tuple<SModelRow, bool, bool>; // model, standard mode, sharing stored

class BoardRulesTest : public CFormsFixture, public ::testing::WithParamInterface<RulesCase> {};
class BoardListsTest : public CFormsFixture {};

std::string CaseName(const ::testing::TestParamInfo<RulesCase>& info) {
    std::string name = std::get<0>(info.param).model;
    std::replace(name.begin(), name.end(), '-', '_');
    return name + (std::get<1>(info.param) ? "_Standard" : "") +
           (std::get<2>(info.param) ? "_Sharing" : "");
}
} // namespace

TEST_P(BoardRulesTest, ShowingABoardSetsEnableStatesListsAndValuesWithoutWriting) {
    const auto& [row, standard, sharing] = GetParam();
    SBoardKey key;
    key.type = row.model;
    key.standardMode = standard ? 1 : 0;
    key.baseAddress = standard ? "NONE" : "0x208";
    key.baseCOMPort = standard ? "NONE" : "COM5";
    key.shareIRQEnabled = sharing ? 1 : 0;
    key.shareIRQ = sharing ? "5" : "NONE";
    key.vectorAddress = sharing ? "0x300" : "NONE";
    PutBoard(key);
    Start();
    Select("Board000");

    const std::string mode = row.sharing;
    const bool sharingOn = mode == "Yes" || (mode == "Both" && sharing);
    const bool baseEditable = !row.individual && !standard;
    EXPECT_TRUE(FormVisible(3000));
    EXPECT_TRUE(Enabled(1009));
    // A model stored in another case shows as its entry of the list.
    EXPECT_EQ(strcasecmp(Shown(1009).c_str(), row.model), 0) << Shown(1009);
    EXPECT_GE(Combo(1009).GetCurSel(), 0);
    EXPECT_EQ(EditText(1001), "Board000");

    EXPECT_EQ(Enabled(1007), row.standardMode);
    EXPECT_EQ(Check(1007).GetCheck(), standard ? 1 : 0);

    EXPECT_EQ(Enabled(1003), baseEditable);
    EXPECT_EQ(Enabled(1004), baseEditable);
    EXPECT_EQ(Combo(1003).GetCount(), row.baseAddresses);
    EXPECT_EQ(Combo(1004).GetCount(), 253);
    EXPECT_EQ(Shown(1003), baseEditable ? "0x208" : "NONE");
    EXPECT_EQ(Shown(1004), baseEditable ? "COM5" : "NONE");
    EXPECT_EQ(Combo(1003).GetCurSel() >= 0, baseEditable);

    EXPECT_EQ(Enabled(1002), mode == "Both");
    EXPECT_EQ(Check(1002).GetCheck(), sharingOn ? 1 : 0);
    EXPECT_EQ(Enabled(1005), sharingOn);
    EXPECT_EQ(Enabled(1006), sharingOn);
    EXPECT_EQ(Shown(1005), !sharingOn ? "NONE" : sharing ? "5" : "7");
    EXPECT_EQ(Shown(1006), !sharingOn ? "NONE" : sharing ? "0x300" : "0x2d0");
    EXPECT_EQ(Combo(1006).GetCount(), row.vectorAddresses);

    // What the form shows is what the record now holds, in memory only.
    const CBoardObj& board = Board();
    EXPECT_EQ(board.GetBaseAddress(), Shown(1003));
    EXPECT_EQ(board.GetBaseCOMPort(), Shown(1004));
    EXPECT_EQ(board.GetShareIRQ(), Shown(1005));
    EXPECT_EQ(board.GetVectorAddress(), Shown(1006));
    EXPECT_EQ(board.GetShareIRQEnabled(), sharingOn ? 1 : 0);
    EXPECT_EQ(board.GetStandardModeEnabled(), standard ? 1 : 0);
    EXPECT_TRUE(TakeWrites().empty());
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
}

INSTANTIATE_TEST_SUITE_P(AllModels, BoardRulesTest,
                         ::testing::Combine(::testing::ValuesIn(kModels), ::testing::Bool(),
                                            ::testing::Bool()),
                         CaseName);

TEST_F(BoardListsTest, ListsStartWhereTheModelSays) {
    SBoardKey key;
    key.type = "RX-408";
    PutBoard(key);
    key.name = "Board001";
    key.type = "RX-404";
    PutBoard(key);
    Start();
    Select("Board000");
    EXPECT_EQ(Combo(1003).GetLBText(0), "0x000");
    EXPECT_EQ(Combo(1003).GetLBText(120), "0x3c0");
    EXPECT_EQ(Combo(1006).GetLBText(0), "0x000");
    EXPECT_EQ(Combo(1006).GetLBText(127), "0x3f8");
    Select("Board001");
    EXPECT_EQ(Combo(1003).GetLBText(0), "0x200");
    EXPECT_EQ(Combo(1003).GetLBText(60), "0x3e0");
    EXPECT_EQ(Combo(1004).GetLBText(0), "COM3");
    EXPECT_EQ(Combo(1004).GetLBText(252), "COM255");
    EXPECT_EQ(Combo(1005).Entries(),
              (std::vector<std::string>{"3", "4", "5", "6", "7", "9", "10", "11", "12", "15"}));
}

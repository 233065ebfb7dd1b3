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
    EXPECT_TRUE(FormVisible(kBoardFormId));
    EXPECT_TRUE(Enabled(IDC_BOARD_TYPE));
    // A model stored in another case shows as its entry of the list.
    EXPECT_EQ(strcasecmp(Shown(IDC_BOARD_TYPE).c_str(), row.model), 0) << Shown(IDC_BOARD_TYPE);
    EXPECT_GE(Combo(IDC_BOARD_TYPE).GetCurSel(), 0);
    EXPECT_EQ(EditText(IDC_BOARD_NAME), "Board000");

    EXPECT_EQ(Enabled(IDC_STANDARD_MODE_ENABLE), row.standardMode);
    EXPECT_EQ(Check(IDC_STANDARD_MODE_ENABLE).GetCheck(), standard ? 1 : 0);

    EXPECT_EQ(Enabled(IDC_BASE_ADDRESS), baseEditable);
    EXPECT_EQ(Enabled(IDC_BASE_COM_PORT), baseEditable);
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS).GetCount(), row.baseAddresses);
    EXPECT_EQ(Combo(IDC_BASE_COM_PORT).GetCount(), 253);
    EXPECT_EQ(Shown(IDC_BASE_ADDRESS), baseEditable ? "0x208" : "NONE");
    EXPECT_EQ(Shown(IDC_BASE_COM_PORT), baseEditable ? "COM5" : "NONE");
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS).GetCurSel() >= 0, baseEditable);

    EXPECT_EQ(Enabled(IDC_SHARE_IRQ_ENABLE), mode == "Both");
    EXPECT_EQ(Check(IDC_SHARE_IRQ_ENABLE).GetCheck(), sharingOn ? 1 : 0);
    EXPECT_EQ(Enabled(IDC_SHARE_IRQ), sharingOn);
    EXPECT_EQ(Enabled(IDC_VECTOR_ADDRESS), sharingOn);
    EXPECT_EQ(Shown(IDC_SHARE_IRQ), !sharingOn ? "NONE" : sharing ? "5" : "7");
    EXPECT_EQ(Shown(IDC_VECTOR_ADDRESS), !sharingOn ? "NONE" : sharing ? "0x300" : "0x2d0");
    EXPECT_EQ(Combo(IDC_VECTOR_ADDRESS).GetCount(), row.vectorAddresses);
    // A greyed field says why; an enabled one says nothing.
    const std::string cannotShare = "this model cannot share its interrupt";
    EXPECT_EQ(Check(IDC_STANDARD_MODE_ENABLE).DisabledReason(),
              row.standardMode ? "" : "this model has no standard mode");
    for (int id : {IDC_BASE_ADDRESS, IDC_BASE_COM_PORT}) {
        EXPECT_EQ(Combo(id).DisabledReason(), baseEditable     ? ""
                                              : row.individual ? "this model addresses each port"
                                                               : "set by standard mode")
            << id;
    }
    EXPECT_EQ(Check(IDC_SHARE_IRQ_ENABLE).DisabledReason(),
              mode == "Both" ? ""
              : mode == "No" ? cannotShare
                             : "this model always shares its interrupt");
    for (int id : {IDC_SHARE_IRQ, IDC_VECTOR_ADDRESS}) {
        EXPECT_EQ(Combo(id).DisabledReason(),
                  sharingOn      ? ""
                  : mode == "No" ? cannotShare
                                 : "the board does not share its interrupt (Share IRQ Enable)")
            << id;
    }

    // What the form shows is what the record now holds, in memory only.
    const CBoardObj& board = Board();
    EXPECT_EQ(board.GetBaseAddress(), Shown(IDC_BASE_ADDRESS));
    EXPECT_EQ(board.GetBaseCOMPort(), Shown(IDC_BASE_COM_PORT));
    EXPECT_EQ(board.GetShareIRQ(), Shown(IDC_SHARE_IRQ));
    EXPECT_EQ(board.GetVectorAddress(), Shown(IDC_VECTOR_ADDRESS));
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
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS).GetLBText(0), "0x000");
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS).GetLBText(120), "0x3c0");
    EXPECT_EQ(Combo(IDC_VECTOR_ADDRESS).GetLBText(0), "0x000");
    EXPECT_EQ(Combo(IDC_VECTOR_ADDRESS).GetLBText(127), "0x3f8");
    Select("Board001");
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS).GetLBText(0), "0x200");
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS).GetLBText(60), "0x3e0");
    EXPECT_EQ(Combo(IDC_BASE_COM_PORT).GetLBText(0), "COM3");
    EXPECT_EQ(Combo(IDC_BASE_COM_PORT).GetLBText(252), "COM255");
    EXPECT_EQ(Combo(IDC_SHARE_IRQ).Entries(),
              (std::vector<std::string>{"3", "4", "5", "6", "7", "9", "10", "11", "12", "15"}));
}

#include "dialogtemplates.h"
#include "formsfixture.h"
#include "headlesscombobox.h"
#include "qserdoc.h"
#include "useraction.h"

namespace {
const char* const kSystemName = "Brimholde QSER 32bit Utility Ver. 1.10";

// What the view must show after one selection.
struct SShown {
    std::string path;
    int visibleForm;
    std::vector<std::pair<int, std::string>> texts; // control id, text shown
    int canAddPort;
    int canDelete;
};

class QSERViewTest : public CFormsFixture {
protected:
    // Board000: a full RX-401 on 0x2e0/COM7; Board001: an RX-201 with one of its two ports.
    void SetUp() override {
        SBoardKey full;
        full.baseAddress = "0x2e0";
        full.baseCOMPort = "COM7";
        full.ports = {{"COM7", "7", "0x2e0"},
                      {"COM8", "7", "0x2e8"},
                      {"COM9", "7", "0x2f0"},
                      {"COM10", "7", "0x2f8"}};
        PutBoard(full);
        SBoardKey single;
        single.name = "Board001";
        single.type = "RX-201";
        single.baseAddress = single.baseCOMPort = "NONE";
        single.ports = {{"COM9", "4", "0x2f8"}};
        PutBoard(single);
        Start();
    }

    void ExpectOnlyVisible(int form) {
        for (int templateId : {2700, 3000, 3001}) {
            EXPECT_EQ(FormVisible(templateId), templateId == form) << templateId;
        }
    }

    void ClickDriver() { Session().Tree().Click(Session().Tree().FindItem("QSERDRV")); }
};
} // namespace

TEST_F(QSERViewTest, StartShowsTheDisabledSystemFormAndSelectsTheDriver) {
    ExpectOnlyVisible(2700);
    EXPECT_FALSE(Session().Dialog(2700)->IsWindowEnabled());
    EXPECT_TRUE(Session().Dialog(3000)->IsWindowEnabled());
    EXPECT_TRUE(Session().Dialog(3001)->IsWindowEnabled());
    EXPECT_EQ(EditText(2803), kSystemName);
    EXPECT_EQ(EditText(2801), "2");
    EXPECT_EQ(EditText(2802), "5");
    EXPECT_EQ(Doc().m_treeInsertMode, CQSERDoc::kInsertSorted);
    EXPECT_EQ(Session().Tree().GetSelectedItem(), Session().Tree().FindItem("QSERDRV"));
    EXPECT_EQ(Doc().m_bCanAddBoard, 1);
    EXPECT_EQ(Doc().m_bCanAddPort, 0);
    EXPECT_EQ(Doc().m_bCanDelete, 0);
}

TEST_F(QSERViewTest, EachSelectionShowsItsFormWithTheRecordsValuesAndCommandStates) {
    const SShown steps[] = {
        {"Board000", 3000, {{1001, "Board000"}, {1003, "0x2e0"}, {1004, "COM7"}}, 0, 1},
        {"Board001", 3000, {{1001, "Board001"}, {1009, "RX-201"}, {1003, "NONE"}}, 1, 1},
        {"Board000/Port003",
         3001,
         {{3001, "Port003"}, {3005, "4"}, {3003, "COM10"}, {3019, "7"}, {3004, "0x2f8"}},
         0,
         1},
        {"Board001/Port000",
         3001,
         {{3001, "Port000"}, {3005, "1"}, {3003, "COM9"}, {3019, "4"}, {3004, "0x2f8"}},
         1,
         1},
        {"Board000/Port001", 3001, {{3003, "COM8"}, {3004, "0x2e8"}}, 0, 1},
    };
    for (const SShown& step : steps) {
        SCOPED_TRACE(step.path);
        Select(step.path);
        ExpectOnlyVisible(step.visibleForm);
        for (const auto& [id, text] : step.texts) {
            EXPECT_EQ(id == 1001 || id == 3001 || id == 3005 ? EditText(id) : Shown(id), text)
                << id;
            EXPECT_TRUE(id == 1001 || id == 3001 || id == 3005 || Combo(id).GetCurSel() >= 0 ||
                        text == "NONE")
                << id;
        }
        EXPECT_EQ(Doc().m_bCanAddBoard, 1);
        EXPECT_EQ(Doc().m_bCanAddPort, step.canAddPort);
        EXPECT_EQ(Doc().m_bCanDelete, step.canDelete);
    }
    EXPECT_TRUE(TakeWrites().empty());
}

TEST_F(QSERViewTest, DriverShowsTheCurrentCountsEvenWhenAlreadyVisible) {
    CUserAction::Run([this] { Doc().OnAddBoard(); });
    ExpectOnlyVisible(3000);
    EXPECT_EQ(EditText(1001), "Board002");
    ClickDriver();
    ExpectOnlyVisible(2700);
    EXPECT_EQ(EditText(2801), "3");
    Doc().m_numPorts = "9";
    Doc().UpdateAllViews();
    EXPECT_EQ(EditText(2802), "9");
    EXPECT_EQ(Doc().m_bCanDelete, 0);
}

TEST_F(QSERViewTest, FormsAreBuiltFromTheirTemplates) {
    EXPECT_EQ(
        Combo(1009).Entries(),
        (std::vector<std::string>{"RQ-6001", "RQ-6002", "RQ-6004", "RX-201", "RX-202", "RX-204E",
                                  "RX-208E", "RX-209", "RX-401", "RX-402", "RX-404", "RX-408"}));
    for (int id : {1003, 1004, 1005, 1006, 1009, 3003}) {
        EXPECT_TRUE(Combo(id).IsEditable()) << id;
    }
    EXPECT_FALSE(Combo(3019).IsEditable());
    EXPECT_FALSE(Combo(3004).IsEditable());
    const SControlTemplate* shareCheck = CDialogTemplates::BoardForm().Find(1002);
    ASSERT_NE(shareCheck, nullptr);
    EXPECT_EQ(shareCheck->text, "Share IRQ Enable:         ");
    EXPECT_EQ(CDialogTemplates::FormView().width, 230);
    EXPECT_EQ(CDialogTemplates::FormView().height, 203);
}

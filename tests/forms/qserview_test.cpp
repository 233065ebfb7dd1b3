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
        for (int templateId : {kSystemFormId, kBoardFormId, kPortFormId}) {
            EXPECT_EQ(FormVisible(templateId), templateId == form) << templateId;
        }
    }

    void ClickDriver() { Session().Tree().Click(Session().Tree().FindItem("QSERDRV")); }
};
} // namespace

TEST_F(QSERViewTest, StartShowsTheDisabledSystemFormAndSelectsTheDriver) {
    ExpectOnlyVisible(kSystemFormId);
    EXPECT_FALSE(Session().Dialog(kSystemFormId)->IsWindowEnabled());
    EXPECT_TRUE(Session().Dialog(kBoardFormId)->IsWindowEnabled());
    EXPECT_TRUE(Session().Dialog(kPortFormId)->IsWindowEnabled());
    EXPECT_EQ(EditText(IDC_SYSTEM_NAME), kSystemName);
    EXPECT_EQ(EditText(IDC_NUM_BOARDS), "2");
    EXPECT_EQ(EditText(IDC_NUM_PORTS), "5");
    EXPECT_EQ(Doc().m_treeInsertMode, CQSERDoc::kInsertSorted);
    EXPECT_EQ(Session().Tree().GetSelectedItem(), Session().Tree().FindItem("QSERDRV"));
    EXPECT_EQ(Doc().m_bCanAddBoard, 1);
    EXPECT_EQ(Doc().m_bCanAddPort, 0);
    EXPECT_EQ(Doc().m_bCanDelete, 0);
}

TEST_F(QSERViewTest, EachSelectionShowsItsFormWithTheRecordsValuesAndCommandStates) {
    const SShown steps[] = {
        {"Board000",
         kBoardFormId,
         {{IDC_BOARD_NAME, "Board000"}, {IDC_BASE_ADDRESS, "0x2e0"}, {IDC_BASE_COM_PORT, "COM7"}},
         0,
         1},
        {"Board001",
         kBoardFormId,
         {{IDC_BOARD_NAME, "Board001"}, {IDC_BOARD_TYPE, "RX-201"}, {IDC_BASE_ADDRESS, "NONE"}},
         1,
         1},
        {"Board000/Port003",
         kPortFormId,
         {{IDC_PORT_NAME, "Port003"},
          {IDC_PORT_INDEX, "4"},
          {IDC_COM_PORT, "COM10"},
          {IDC_IRQ, "7"},
          {IDC_PORT_ADDRESS, "0x2f8"}},
         0,
         1},
        {"Board001/Port000",
         kPortFormId,
         {{IDC_PORT_NAME, "Port000"},
          {IDC_PORT_INDEX, "1"},
          {IDC_COM_PORT, "COM9"},
          {IDC_IRQ, "4"},
          {IDC_PORT_ADDRESS, "0x2f8"}},
         1,
         1},
        {"Board000/Port001",
         kPortFormId,
         {{IDC_COM_PORT, "COM8"}, {IDC_PORT_ADDRESS, "0x2e8"}},
         0,
         1},
    };
    for (const SShown& step : steps) {
        SCOPED_TRACE(step.path);
        Select(step.path);
        ExpectOnlyVisible(step.visibleForm);
        for (const auto& [id, text] : step.texts) {
            EXPECT_EQ(id == IDC_BOARD_NAME || id == IDC_PORT_NAME || id == IDC_PORT_INDEX
                          ? EditText(id)
                          : Shown(id),
                      text)
                << id;
            EXPECT_TRUE(id == IDC_BOARD_NAME || id == IDC_PORT_NAME || id == IDC_PORT_INDEX ||
                        Combo(id).GetCurSel() >= 0 || text == "NONE")
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
    ExpectOnlyVisible(kBoardFormId);
    EXPECT_EQ(EditText(IDC_BOARD_NAME), "Board002");
    ClickDriver();
    ExpectOnlyVisible(kSystemFormId);
    EXPECT_EQ(EditText(IDC_NUM_BOARDS), "3");
    Doc().m_numPorts = "9";
    Doc().UpdateAllViews();
    EXPECT_EQ(EditText(IDC_NUM_PORTS), "9");
    EXPECT_EQ(Doc().m_bCanDelete, 0);
}

TEST_F(QSERViewTest, FormsAreBuiltFromTheirTemplates) {
    EXPECT_EQ(
        Combo(IDC_BOARD_TYPE).Entries(),
        (std::vector<std::string>{"RQ-6001", "RQ-6002", "RQ-6004", "RX-201", "RX-202", "RX-204E",
                                  "RX-208E", "RX-209", "RX-401", "RX-402", "RX-404", "RX-408"}));
    for (int id : {IDC_BASE_ADDRESS, IDC_BASE_COM_PORT, IDC_SHARE_IRQ, IDC_VECTOR_ADDRESS,
                   IDC_BOARD_TYPE, IDC_COM_PORT}) {
        EXPECT_TRUE(Combo(id).IsEditable()) << id;
    }
    EXPECT_FALSE(Combo(IDC_IRQ).IsEditable());
    EXPECT_FALSE(Combo(IDC_PORT_ADDRESS).IsEditable());
    const SControlTemplate* shareCheck = CDialogTemplates::BoardForm().Find(IDC_SHARE_IRQ_ENABLE);
    ASSERT_NE(shareCheck, nullptr);
    EXPECT_EQ(shareCheck->text, "Share IRQ Enable:         ");
    EXPECT_EQ(CDialogTemplates::FormView().width, 230);
    EXPECT_EQ(CDialogTemplates::FormView().height, 203);
}

// The window on a registry file that cannot be written, ours or a Windows hive file: it says so,
// offers no change and closes without a word.
#include "boardform.h"
#include "commandids.h"
#include "configtreectrl.h"
#include "driverkeys.h"
#include "formtemplateids.h"
#include "framestatusbar.h"
#include "hiveprobe.h"
#include "portform.h"
#include "readonlyhive.h"
#include "reportdialog.h"
#include "testnames.h"
#include "uifixture.h"

#include <QAction>
#include <QFileInfo>
#include <QTest>
#include <vector>

namespace {
class CReadOnlyWindowTest : public CUiFixture, public ::testing::WithParamInterface<ETestStore> {
protected:
    CReadOnlyWindowTest() : CUiFixture(GetParam()) {}
    void SetUp() override {
        CHiveProbe probe(m_hive.Hive());
        SBoardValues board;
        board.type = "RX-201";
        PutBoardKey(probe, board);
        PutPortKey(probe, board.name, SPortValues{});
        m_pReadOnly = std::make_unique<CReadOnlyHive>(m_hive);
        if (m_pReadOnly->Hive() == nullptr) {
            GTEST_SKIP() << "cannot make a read-only bind mount";
        }
        m_before = m_pReadOnly->Bytes();
        Start(EPlatformFamily::WindowsNT, m_pReadOnly->Hive());
    }
    // The window reads the hive until it goes.
    ~CReadOnlyWindowTest() override { m_pFrame.reset(); }

    // The ids of the form's lists and check boxes that are enabled.
    template <typename Form> std::vector<int> EnabledChoices(int templateId) const {
        std::vector<int> enabled;
        for (const SFormField<Form>& field : Form::Fields()) {
            if (field.edit == nullptr &&
                Control<QWidget>(templateId, field.controlId)->isEnabled()) {
                enabled.push_back(field.controlId);
            }
        }
        return enabled;
    }

    std::vector<int> EnabledCommands() const {
        std::vector<int> enabled;
        for (int id : {ID_ADD_BOARD, ID_ADD_PORT, ID_DELETE, ID_FILE_NEW, ID_FILE_SAVE,
                       ID_FILE_OPEN, ID_FILE_APPLY}) {
            if (Action(id)->isEnabled()) {
                enabled.push_back(id);
            }
        }
        return enabled;
    }

    std::unique_ptr<CReadOnlyHive> m_pReadOnly;
    std::string m_before;
};
} // namespace

TEST_P(CReadOnlyWindowTest, SaysWhyAndOffersNoChange) {
    const QString file = QFileInfo(QString::fromStdString(m_pReadOnly->FilePath())).fileName();
    const QString name = GetParam() == ETestStore::WindowsHive
                             ? QString::fromUtf8(CMainFrame::kHiveCaption).arg(file)
                             : file;
    EXPECT_EQ(Frame().windowTitle(), name + QStringLiteral("[*] - Brimholde - QSER [read-only]"));
    EXPECT_EQ(
        Frame().StatusBar()->currentMessage(),
        QStringLiteral(
            "Opened for reading only: the file system is read-only. Nothing can be changed."));
    EXPECT_EQ(EnabledCommands(), std::vector<int>{}) << "driver";
    ClickItem("QSERDRV/Board000");
    EXPECT_EQ(EnabledChoices<CBoardForm>(kBoardFormId), std::vector<int>{});
    EXPECT_EQ(EnabledCommands(), std::vector<int>{}) << "board";
    // Expanding a board lists its ports again, as new items.
    Frame().Tree().expandItem(Item("QSERDRV/Board000"));
    ClickItem("QSERDRV/Board000/Port000");
    EXPECT_EQ(EnabledChoices<CPortForm>(kPortFormId), std::vector<int>{});
    EXPECT_EQ(EnabledCommands(), std::vector<int>{}) << "port";

    // Comparing only reads.
    const QString otherFile = WriteFile(
        "other.json",
        R"({"Boards": [{"BoardName": "Board000", "BoardBaseAddress": "0x340", "Ports": [{"PortName": "Port000"}]}]})");
    QString report;
    EXPECT_TRUE(WithReportDialog([&] { Frame().CompareWith(otherFile); },
                                 [&](CReportDialog& dialog) {
                                     report = dialog.Report();
                                     dialog.reject();
                                 }));
    EXPECT_EQ(report.toStdString(), "Board000: BoardBaseAddress 0x200 -> 0x340\n");

    CloseAndDestroy();
    EXPECT_EQ(m_hive.Messages().Texts(), std::vector<std::string>{});
    EXPECT_EQ(m_recordedServices.Calls(), std::vector<std::string>{});
    EXPECT_EQ(m_pReadOnly->Bytes(), m_before);
}

INSTANTIATE_TEST_SUITE_P(Stores, CReadOnlyWindowTest,
                         ::testing::Values(ETestStore::Sqlite, ETestStore::WindowsHive), StoreName);

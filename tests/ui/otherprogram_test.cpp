#include "commandids.h"
#include "configtreectrl.h"
#include "dialogtemplates.h"
#include "framestatusbar.h"
#include "hiveprobe.h"
#include "qserctlrunner.h"
#include "qserdoc.h"
#include "sqliteconnection.h"
#include "sqlitestore.h"
#include "uifixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTreeWidgetItem>
#include <algorithm>
#include <string>
#include <vector>

namespace {
const std::string kDriverKey = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV";
const std::string kReloaded = CMainFrame::kReloadedText;

// The window open on a registry file while qserctl, as its own process, edits the same file.
class COtherProgramTest : public CUiFixture {
protected:
    void Ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--registry", m_hive.FilePath(), "--yes"});
        const SQserCtlRun run = m_ctl.Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    std::vector<std::string> PortKeys(const std::string& board) {
        return m_probe.SubKeys(kDriverKey + "\\" + board);
    }
    std::vector<std::string> PortItems(const std::string& board) const {
        std::vector<std::string> texts;
        if (QTreeWidgetItem* item = Item("QSERDRV/" + board)) {
            for (int i = 0; i < item->childCount(); ++i) {
                texts.push_back(item->child(i)->text(0).toStdString());
            }
        }
        return texts;
    }
    std::string Current() const {
        std::string path;
        for (QTreeWidgetItem* item = Frame().Tree().currentItem(); item != nullptr;
             item = item->parent()) {
            path = item->text(0).toStdString() + (path.empty() ? "" : "/" + path);
        }
        return path;
    }
    // Expanding a loaded board fills its port items anew, so a port is clicked once its board
    // is open.
    void ClickPort(const std::string& board, const std::string& port) {
        QTreeWidgetItem* boardItem = Item("QSERDRV/" + board);
        ASSERT_NE(boardItem, nullptr);
        boardItem->setExpanded(true);
        QApplication::processEvents();
        ClickItem("QSERDRV/" + board + "/" + port);
    }
    std::string StatusText() const { return Frame().StatusBar()->currentMessage().toStdString(); }
    void Choose(int templateId, int controlId, const QString& text) {
        auto* combo = Control<QComboBox>(templateId, controlId);
        ASSERT_NE(combo, nullptr);
        CUiFixture::Choose(*combo, text);
    }

    CQserCtlRunner m_ctl{m_hive.Folder()};
    CHiveProbe m_probe{m_hive.Hive()};
};
} // namespace

TEST_F(COtherProgramTest, AddPortAfterTheirAddPortAddsNoSecondSet) {
    Ctl({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300"});
    Start();
    ClickItem("QSERDRV/Board000");
    Ctl({"add-port", "Board000"});
    m_hive.Messages().Clear();

    ClickButton(ID_ADD_PORT);

    const std::vector<std::string> four = {"Port000", "Port001", "Port002", "Port003"};
    EXPECT_EQ(PortKeys("Board000"), four);
    EXPECT_EQ(PortItems("Board000"), four);
    EXPECT_EQ(Current(), "QSERDRV/Board000");
    EXPECT_EQ(StatusText(), kReloaded);
    EXPECT_TRUE(m_hive.Messages().Records().empty());
    EXPECT_FALSE(Action(ID_ADD_PORT)->isEnabled()); // the board is full now
}

TEST_F(COtherProgramTest, PickOnAPortTheyDeletedChangesNothingAndSaysSo) {
    Ctl({"add-board", "BoardType=RX-204E"});
    Ctl({"add-port", "Board000"});
    Ctl({"add-port", "Board000"});
    Start();
    ClickPort("Board000", "Port001");
    Ctl({"delete", "Board000/Port001"});
    m_hive.Messages().Clear();

    Choose(3001, IDC_IRQ, QStringLiteral("9"));

    EXPECT_EQ(m_hive.Messages().Texts(),
              std::vector<std::string>{
                  "Board000\\Port001 no longer exists in the registry; nothing was changed."});
    EXPECT_EQ(PortKeys("Board000"), std::vector<std::string>{"Port000"});
    EXPECT_EQ(PortItems("Board000"), std::vector<std::string>{"Port000"});
    EXPECT_EQ(RegistryText(kDriverKey + "\\Board000\\Port000", "PortIRQ"), "7");
    EXPECT_EQ(Current(), "QSERDRV/Board000");
    EXPECT_TRUE(Form(3000)->isVisible());
}

TEST_F(COtherProgramTest, AddPortOnABoardTheyDeletedDoesNotBringItBack) {
    Ctl({"add-board", "BoardType=RX-404"});
    Ctl({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300"});
    Ctl({"add-port", "Board000"});
    Start();
    ClickItem("QSERDRV/Board001");
    Ctl({"delete", "Board001"});
    m_hive.Messages().Clear();

    ClickButton(ID_ADD_PORT);

    EXPECT_EQ(m_hive.Messages().Texts(),
              std::vector<std::string>{
                  "Board001 no longer exists in the registry; nothing was changed."});
    EXPECT_EQ(m_probe.SubKeys(kDriverKey), std::vector<std::string>{"Board000"});
    EXPECT_EQ(Item("QSERDRV/Board001"), nullptr);
    EXPECT_EQ(Current(), "QSERDRV");
}

TEST_F(COtherProgramTest, ActivationLoadsWhatTheyChangedAndKeepsTheChangedFlag) {
    Start();
    ClickButton(ID_ADD_BOARD);
    ASSERT_EQ(Frame().Document()->m_bConfigChanged, 1);
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    Ctl({"add-board", "BoardType=RX-404"});
    Ctl({"add-port", "Board001"});

    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));

    ASSERT_NE(Item("QSERDRV/Board001"), nullptr);
    EXPECT_EQ(PortItems("Board001").size(), 4u);
    EXPECT_EQ(Current(), "QSERDRV/Board000");
    EXPECT_EQ(StatusText(), CMainFrame::kHistoryClearedText);
    EXPECT_EQ(Frame().Document()->m_bConfigChanged, 1);
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_F(COtherProgramTest, CloseAfterTheirChangesWritesTheCountsOfTheFile) {
    Start();
    ClickButton(ID_ADD_BOARD);
    Ctl({"add-board", "BoardType=RX-404"});
    Ctl({"add-port", "Board001"});
    Ctl({"add-board", "BoardType=RX-401"});

    CloseAndDestroy();

    EXPECT_EQ(RegistryText(kDriverKey, "SystemNumBoards"), "3");
    EXPECT_EQ(RegistryText(kDriverKey, "SystemNumPorts"), "4");
}

TEST_F(COtherProgramTest, SaveOnAFullDiskSaysItCouldNotWriteAndNotThatItSaved) {
    for (int i = 0; i < 4; ++i) {
        Ctl({"add-board", "BoardType=RX-408"});
        Ctl({"add-port", "Board00" + std::to_string(i)});
    }
    Start();
    // Ports made in the window and not registered yet: the save must add their values, more
    // than the free room in the pages the values already have.
    for (int i = 0; i < 6; ++i) {
        ClickButton(ID_ADD_BOARD);
        ClickButton(ID_ADD_PORT);
    }
    const std::string parameters = "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters";
    const auto registeredValues = [&] {
        std::size_t count = 0;
        for (const std::string& instance : m_probe.SubKeys(parameters)) {
            count += m_probe.ValueNames(parameters + "\\" + instance).size();
        }
        return count;
    };
    const std::size_t before = registeredValues();
    // No page left, and no room left in the pages there are (a table the registry never reads
    // takes the room up).
    CSqliteConnection& connection = *CSqliteStore::ConnectionOf(m_hive.Hive());
    connection.Exec("CREATE TABLE filler(bytes BLOB)");
    connection.Exec("PRAGMA max_page_count=" + connection.QueryText("PRAGMA page_count"));
    for (bool room = true; room;) {
        try {
            connection.Exec("INSERT INTO filler VALUES(randomblob(16))");
        } catch (const std::exception&) {
            room = false;
        }
    }
    m_hive.Messages().Clear();

    ClickButton(ID_FILE_SAVE);

    const std::vector<std::string> texts = m_hive.Messages().Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Unable to write to registry");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Configuration's been saved to registry!"), 0);
    EXPECT_EQ(Frame().Document()->m_bConfigChanged, 1);
    EXPECT_EQ(registeredValues(), before);
}

TEST_F(COtherProgramTest, TheirReadingIsNoChangeAndTheActionRuns) {
    Ctl({"add-board", "BoardType=RX-404"});
    Start();
    ClickItem("QSERDRV/Board000");
    Ctl({"show"});
    Ctl({"export"});

    ClickButton(ID_ADD_PORT);

    EXPECT_EQ(PortKeys("Board000"),
              (std::vector<std::string>{"Port000", "Port001", "Port002", "Port003"}));
    EXPECT_NE(StatusText(), kReloaded);
}

// The tree sizes its column itself, once per change of what it shows: each change that shows
// wider names leaves no name cut.
TEST_F(COtherProgramTest, NamesShownAfterAFillAReloadAndAnExpansionAreNotCut) {
    Start();
    CConfigTreeCtrl& tree = Frame().Tree();
    // Qt's own measure of the items shown, each with its indentation.
    const QAbstractItemView& view = tree;
    const auto uncut = [&](const char* step) {
        QApplication::processEvents();
        EXPECT_GE(tree.columnWidth(0), view.sizeHintForColumn(0)) << step;
    };
    uncut("fill");
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    Ctl({"add-board", "BoardType=RX-404"});
    Ctl({"add-port", "Board000"});
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    ASSERT_EQ(StatusText(), kReloaded);
    uncut("reload: the boards one level deeper than the driver");
    Item("QSERDRV/Board000")->setExpanded(true);
    uncut("expansion: the ports one level deeper still");
    EXPECT_EQ(PortItems("Board000").size(), 4u);
}

TEST_F(COtherProgramTest, TheirChangeClearsUndoAndRedoAndSaysSo) {
    Start();
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_BOARD);
    Action(ID_EDIT_UNDO)->trigger();
    ASSERT_TRUE(Action(ID_EDIT_UNDO)->isEnabled());
    ASSERT_TRUE(Action(ID_EDIT_REDO)->isEnabled());
    Ctl({"add-board", "BoardType=RX-201"});

    Action(ID_EDIT_UNDO)->trigger();

    // Nothing of theirs is taken back: the undo met their change and did not run.
    EXPECT_EQ(m_probe.SubKeys(kDriverKey), (std::vector<std::string>{"Board000", "Board001"}));
    EXPECT_EQ(StatusText(), CMainFrame::kHistoryClearedText);
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(Action(ID_EDIT_REDO)->isEnabled());
}

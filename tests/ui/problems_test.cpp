#include "boardobj.h"
#include "commandids.h"
#include "configtreectrl.h"
#include "dialogtemplates.h"
#include "hiveprobe.h"
#include "problemsbar.h"
#include "problemspane.h"
#include "qserdoc.h"
#include "testkeypaths.h"
#include "uifixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>

namespace {
class CProblemsTest : public CUiFixture {
protected:
    // A board of one individually addressed port, without sharing.
    void WriteBoard(const std::string& board, const std::string& address, const std::string& irq,
                    const std::string& com, const std::string& instance) {
        const std::string key = BoardKey(board);
        m_probe.SetText(key, "BoardName", board);
        m_probe.SetText(key, "BoardType", "RX-209");
        for (const char* name :
             {"BoardBaseAddress", "BoardBaseCOMPort", "BoardShareIRQ", "BoardVectorAddress"}) {
            m_probe.SetText(key, name, "NONE");
        }
        m_probe.SetDword(key, "BoardShareIRQEnabled", 0);
        m_probe.SetDword(key, "BoardStandardModeEnabled", 0);
        const std::string port = PortKey(board, "Port000");
        m_probe.SetText(port, "PortName", "Port000");
        m_probe.SetText(port, "PortCOMPort", com);
        m_probe.SetText(port, "PortIRQ", irq);
        m_probe.SetText(port, "PortAddress", address);
        m_probe.SetText(port, "PortIndex", "1");
        m_probe.SetText(port, "PortSerialPort", instance);
    }

    QTreeWidget& List() const { return *Frame().ProblemsBar()->List(); }
    QString Pane() const { return Frame().ProblemsPane()->text(); }

    CHiveProbe m_probe{m_hive.Hive()};
};
} // namespace

TEST_F(CProblemsTest, PickThatCreatesAConflictShowsItAndActivatingItSelectsTheItem) {
    WriteBoard("Board000", "0x200", "5", "COM3", "Serial002");
    WriteBoard("Board001", "0x300", "7", "COM4", "Serial003");
    Start();
    EXPECT_TRUE(Frame().ProblemsBar()->isVisible());
    EXPECT_EQ(Frame().dockWidgetArea(Frame().ProblemsBar()), Qt::BottomDockWidgetArea);
    EXPECT_EQ(List().topLevelItemCount(), 0);
    EXPECT_EQ(Pane(), QStringLiteral("No problems"));
    EXPECT_TRUE(Frame().ProblemsBar()->EmptyText()->isVisible());

    // A loaded board shows collapsed.
    Frame().Tree().expandAll();
    ClickItem("QSERDRV/Board001/Port000");
    Choose(*Control<QComboBox>(3001, IDC_PORT_ADDRESS), QStringLiteral("0x200"));
    ASSERT_EQ(List().topLevelItemCount(), 1);
    QTreeWidgetItem* finding = List().topLevelItem(0);
    EXPECT_EQ(finding->text(0), QStringLiteral("Port000 of Board000 (0x200-0x207) overlaps "
                                               "Port000 of Board001 (0x200-0x207)."));
    EXPECT_EQ(finding->text(1), QStringLiteral("io-overlap"));
    EXPECT_FALSE(finding->icon(0).isNull());
    EXPECT_EQ(Pane(), QStringLiteral("1 error, 0 warnings"));
    EXPECT_FALSE(Frame().ProblemsBar()->EmptyText()->isVisible());

    // Enter on the finding, as a person activates it from the keyboard.
    List().setFocus();
    List().setCurrentItem(finding);
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Frame().Tree().currentItem(), Item("QSERDRV/Board000/Port000"));
    ASSERT_NE(Frame().Document()->m_pCurBoard, nullptr);
    EXPECT_EQ(Frame().Document()->m_pCurBoard->GetBoardName(), "Board000");
    EXPECT_TRUE(Form(3001)->isVisible());

    // Moving the port away again clears the list.
    Choose(*Control<QComboBox>(3001, IDC_PORT_ADDRESS), QStringLiteral("0x208"));
    EXPECT_EQ(List().topLevelItemCount(), 0);
    EXPECT_EQ(Pane(), QStringLiteral("No problems"));
}

TEST_F(CProblemsTest, LoadShowsWhatTheRegistryAlreadyHolds) {
    WriteBoard("Board000", "0x3f8", "5", "COM3", "Serial002");
    WriteBoard("Board001", "0x300", "5", "COM12", "Serial003");
    m_probe.SetText(kSerialParameters + "\\Serial000", "DosDevices", "COM3");
    Start();
    EXPECT_EQ(Pane(), QStringLiteral("2 errors, 2 warnings"));
    ASSERT_EQ(List().topLevelItemCount(), 4);
    QStringList codes;
    for (int i = 0; i < List().topLevelItemCount(); ++i) {
        codes << List().topLevelItem(i)->text(1);
    }
    EXPECT_EQ(codes, (QStringList{QStringLiteral("irq-boards"), QStringLiteral("com-taken"),
                                  QStringLiteral("io-legacy"), QStringLiteral("com-high")}));
    // A warning has its own icon.
    EXPECT_NE(List().topLevelItem(0)->icon(0).cacheKey(),
              List().topLevelItem(2)->icon(0).cacheKey());
    // Every key of a finding is in its tooltip, the system's entry included.
    EXPECT_TRUE(List().topLevelItem(1)->toolTip(0).contains(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Serial\\"
                       "Parameters\\Serial000")));
}

// Whatever height the person gives the bar, the list shows whole rows: the part of the bar
// too low for one more row is left empty, below the list.
TEST_F(CProblemsTest, TheListShowsOnlyWholeRows) {
    for (int i = 0; i < 8; ++i) {
        const std::string board = "Board00" + std::to_string(i);
        WriteBoard(board, "0x300", "5", "COM1" + std::to_string(i), "Serial00" + std::to_string(i));
    }
    Start();
    ASSERT_GT(List().topLevelItemCount(), 8);
    const int row = List().visualItemRect(List().topLevelItem(0)).height();
    ASSERT_GT(row, 0);
    QWidget* holder = Frame().ProblemsBar()->widget();
    for (int extra = 0; extra < row; extra += 3) {
        Frame().resizeDocks({Frame().ProblemsBar()}, {6 * row + extra}, Qt::Vertical);
        QApplication::processEvents();
        EXPECT_EQ(List().viewport()->height() % row, 0) << extra;
        EXPECT_GE(List().viewport()->height(), row) << extra;
        EXPECT_LT(holder->height() - List().height(), row) << extra;
    }
}

TEST_F(CProblemsTest, ActivatingSelectsABoardAndLeavesTheSelectionForTheSystemsEntry) {
    WriteBoard("Board000", "0x200", "5", "COM3", "Serial002");
    m_probe.SetText(BoardKey("Board000"), "BoardBaseAddress", "zz");
    m_probe.SetText(kSerialParameters + "\\Serial000", "PortAddress", "0x3f8");
    Start();
    ASSERT_EQ(List().topLevelItemCount(), 2);
    QTreeWidgetItem* driver = Item("QSERDRV");
    ASSERT_EQ(Frame().Tree().currentItem(), driver);
    List().setFocus();
    // The system's entry has no item in the tree.
    List().setCurrentItem(List().topLevelItem(1));
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Frame().Tree().currentItem(), driver);
    List().setCurrentItem(List().topLevelItem(0));
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Frame().Tree().currentItem(), Item("QSERDRV/Board000"));
    EXPECT_TRUE(Form(3000)->isVisible());
}

TEST_F(CProblemsTest, ViewCommandShowsAndHidesTheBar) {
    Start();
    QAction* toggle = Action(ID_VIEW_PROBLEMS_BAR);
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(Frame().ProblemsBar()->isVisible());
    EXPECT_FALSE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(Frame().ProblemsBar()->isVisible());
    EXPECT_TRUE(toggle->isChecked());
}

TEST_F(CProblemsTest, EveryControlHasAnAccessibleName) {
    Start();
    EXPECT_FALSE(Frame().ProblemsBar()->accessibleName().isEmpty());
    EXPECT_FALSE(List().accessibleName().isEmpty());
    EXPECT_FALSE(Frame().ProblemsPane()->accessibleName().isEmpty());
}

TEST_F(CProblemsTest, ViewMenuFloatsTheBarAndDocksItAgain) {
    Start();
    QAction* floating = Action(ID_VIEW_PROBLEMS_FLOAT);
    floating->trigger();
    EXPECT_TRUE(Frame().ProblemsBar()->isFloating());
    EXPECT_TRUE(floating->isChecked());
    floating->trigger();
    EXPECT_FALSE(Frame().ProblemsBar()->isFloating());
    EXPECT_EQ(Frame().dockWidgetArea(Frame().ProblemsBar()), Qt::BottomDockWidgetArea);
    EXPECT_FALSE(floating->isChecked());
}

// The fix is the pick a person would make, one step that Undo takes back whole.
TEST_F(CProblemsTest, AFixFromTheContextMenuIsMadeAsAPickAndUndoneAsOneStep) {
    WriteBoard("Board000", "0x200", "5", "COM3", "Serial002");
    WriteBoard("Board001", "0x300", "7", "COM3", "Serial003");
    Start();
    ASSERT_EQ(List().topLevelItemCount(), 1);
    QMenu* menu = Frame().ProblemsBar()->ContextMenu(0);
    ASSERT_NE(menu, nullptr);
    QAction* fix = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QStringLiteral("Use the next free COM name for "))) {
            fix = action;
        }
    }
    ASSERT_NE(fix, nullptr);
    fix->trigger();

    EXPECT_EQ(List().topLevelItemCount(), 0);
    EXPECT_NE(RegistryText(PortKey("Board001", "Port000"), "PortCOMPort"), "COM3");
    EXPECT_EQ(Frame().Tree().currentItem(), Item("QSERDRV/Board001/Port000"));
    EXPECT_TRUE(Action(ID_EDIT_UNDO)->text().startsWith(QStringLiteral("&Undo Use the next")));

    Action(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(RegistryText(PortKey("Board001", "Port000"), "PortCOMPort"), "COM3");
    EXPECT_EQ(List().topLevelItemCount(), 1);
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
}

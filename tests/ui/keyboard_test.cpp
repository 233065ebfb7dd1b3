#include "commandids.h"
#include "configtreectrl.h"
#include "dialogtemplates.h"
#include "formtemplateids.h"
#include "framestatusbar.h"
#include "problemsbar.h"
#include "qtcombobox.h"
#include "testkeypaths.h"
#include "testnames.h"
#include "uifixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace {
class CKeyboardTest : public CUiFixture {
protected:
    void SetUp() override { Start(); }
    QWidget* Focus() const { return QApplication::focusWidget(); }
    void Type(QComboBox& combo, const QString& text) {
        combo.lineEdit()->setFocus();
        combo.lineEdit()->selectAll();
        QTest::keyClicks(combo.lineEdit(), text);
        QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
    }
};

struct SFocusCase {
    const char* name;
    int command;
    const char* selected; // the item selected before the command
};

class CFocusAfterCommandTest : public CKeyboardTest,
                               public ::testing::WithParamInterface<SFocusCase> {};
} // namespace

// The form that hides, or the item that goes, must not hand the focus down to the problems.
TEST_P(CFocusAfterCommandTest, FocusStaysInTheTree) {
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_PORT);
    ClickItem(GetParam().selected);
    Frame().Tree().setFocus();
    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    Action(GetParam().command)->trigger();
    EXPECT_EQ(Focus(), &Frame().Tree());
}

INSTANTIATE_TEST_SUITE_P(Commands, CFocusAfterCommandTest,
                         ::testing::Values(SFocusCase{"AddBoard", ID_ADD_BOARD, "QSERDRV"},
                                           SFocusCase{"DeletePort", ID_DELETE,
                                                      "QSERDRV/Board000/Port001"},
                                           SFocusCase{"DeleteBoard", ID_DELETE, "QSERDRV/Board000"},
                                           SFocusCase{"Undo", ID_EDIT_UNDO, "QSERDRV"}),
                         SRowName());

TEST_F(CKeyboardTest, F6AndShiftF6GoRoundTreeFormAndProblems) {
    ClickButton(ID_ADD_BOARD);
    ClickItem("QSERDRV/Board000");
    Frame().Tree().setFocus();
    QTest::keyClick(&Frame(), Qt::Key_F6);
    ASSERT_NE(Focus(), nullptr);
    EXPECT_TRUE(Form(kBoardFormId)->isAncestorOf(Focus()));
    QTest::keyClick(&Frame(), Qt::Key_F6);
    EXPECT_EQ(Focus(), Frame().ProblemsBar()->List());
    QTest::keyClick(&Frame(), Qt::Key_F6);
    EXPECT_EQ(Focus(), &Frame().Tree());
    QTest::keyClick(&Frame(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), Frame().ProblemsBar()->List());
}

TEST_F(CKeyboardTest, TypedEntryIsTakenAsIfPickedAndOtherTextIsKeptAndExplained) {
    ClickButton(ID_ADD_BOARD);
    ClickItem("QSERDRV/Board000");
    auto* combo = Control<QComboBox>(kBoardFormId, IDC_BASE_COM_PORT);
    ASSERT_TRUE(combo->isEditable());

    Type(*combo, QStringLiteral("com7"));
    EXPECT_EQ(RegistryText(BoardKey("Board000"), "BoardBaseCOMPort"), "COM7");
    EXPECT_EQ(combo->currentText(), QStringLiteral("COM7"));
    EXPECT_TRUE(combo->property(CQtComboBox::kInvalidProperty).toString().isEmpty());

    Type(*combo, QStringLiteral("COM999"));
    EXPECT_EQ(RegistryText(BoardKey("Board000"), "BoardBaseCOMPort"), "COM7");
    EXPECT_EQ(combo->currentText(), QStringLiteral("COM999")); // not dropped
    EXPECT_EQ(combo->property(CQtComboBox::kInvalidProperty).toString(), QStringLiteral("COM999"));
    const QString said = Frame().StatusBar()->currentMessage();
    EXPECT_TRUE(said.contains(QStringLiteral("COM3 to COM255"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Base COM Port"))) << said.toStdString();

    // Showing the board again replaces the text and its mark.
    ClickItem("QSERDRV");
    ClickItem("QSERDRV/Board000");
    EXPECT_EQ(combo->currentText(), QStringLiteral("COM7"));
    EXPECT_TRUE(combo->property(CQtComboBox::kInvalidProperty).toString().isEmpty());
}

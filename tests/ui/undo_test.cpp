#include "commandids.h"
#include "dialogtemplates.h"
#include "formtemplateids.h"
#include "framestatusbar.h"
#include "qserdoc.h"
#include "testkeypaths.h"
#include "uifixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTreeWidgetItem>

namespace {
class CUndoWindowTest : public CUiFixture {
protected:
    void SetUp() override { Start(); }
    void Key(int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(&Frame(), static_cast<Qt::Key>(key), modifiers);
    }
    QString Status() const { return Frame().StatusBar()->currentMessage(); }
};
} // namespace

TEST_F(CUndoWindowTest, UndoAndRedoByKeyTakeBackAndRedoTheCommandsInOrder) {
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_PORT); // an RX-401 board: four ports
    ASSERT_TRUE(KeyExists(PortKey("Board000", "Port003")));
    EXPECT_EQ(Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Add Port"));

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(KeyExists(PortKey("Board000", "Port000")));
    EXPECT_TRUE(KeyExists(BoardKey("Board000")));
    EXPECT_EQ(Item("QSERDRV/Board000")->childCount(), 0);
    EXPECT_EQ(Status(), QStringLiteral("Undone: Add Port"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(KeyExists(BoardKey("Board000")));
    EXPECT_EQ(Item("QSERDRV/Board000"), nullptr);
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_EQ(Action(ID_EDIT_REDO)->text(), QStringLiteral("&Redo Add Board"));

    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(KeyExists(PortKey("Board000", "Port003")));
    EXPECT_EQ(Item("QSERDRV/Board000")->childCount(), 4);
    EXPECT_FALSE(Action(ID_EDIT_REDO)->isEnabled());
    // What was undone and redone still waits to be registered at the close.
    EXPECT_EQ(Frame().Document()->m_bConfigChanged, 1);
}

TEST_F(CUndoWindowTest, APickIsUndoneInTheRegistryAndOnTheForm) {
    ClickButton(ID_ADD_BOARD);
    ClickItem("QSERDRV/Board000");
    auto* address = Control<QComboBox>(kBoardFormId, IDC_BASE_ADDRESS);
    const QString before = address->currentText();
    const int index = address->findText(QStringLiteral("0x300"));
    ASSERT_GE(index, 0);
    address->setCurrentIndex(index);
    emit address->activated(index);
    ASSERT_EQ(RegistryText(BoardKey("Board000"), "BoardBaseAddress"), "0x300");
    QApplication::processEvents();
    EXPECT_EQ(Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Base Address"));

    Action(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(RegistryText(BoardKey("Board000"), "BoardBaseAddress"), before.toStdString());
    EXPECT_EQ(address->currentText(), before);
    EXPECT_TRUE(Form(kBoardFormId)->isVisible());
}

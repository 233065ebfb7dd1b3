#include "commandids.h"
#include "dialogtemplates.h"
#include "formtemplateids.h"
#include "framestatusbar.h"
#include "helpviewer.h"
#include "uifixture.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

namespace {
// What AT-SPI is told of a widget, through Qt's accessibility interface.
QString Said(QObject* object, QAccessible::Text text) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible == nullptr ? QStringLiteral("<none>") : accessible->text(text);
}

class CAccessibilityTest : public CUiFixture {
protected:
    void SetUp() override {
        Start();
        ClickButton(ID_ADD_BOARD);
        ClickButton(ID_ADD_PORT);
    }
};
} // namespace

TEST_F(CAccessibilityTest, FixedListsSayTheirValue) {
    ClickItem("QSERDRV/Board000/Port001");
    for (int id : {IDC_IRQ, IDC_PORT_ADDRESS}) {
        auto* combo = Control<QComboBox>(kPortFormId, id);
        ASSERT_FALSE(combo->isEditable()) << id;
        EXPECT_FALSE(combo->currentText().isEmpty()) << id;
        EXPECT_EQ(Said(combo, QAccessible::Value), combo->currentText()) << id;
        // AT-SPI reads a fixed list's value as its text.
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(combo)->textInterface();
        ASSERT_NE(text, nullptr) << id;
        EXPECT_EQ(text->text(0, text->characterCount()), combo->currentText()) << id;
        EXPECT_NE(Said(combo, QAccessible::Name), combo->currentText()) << id;
    }
}

// A group inside another was read by the outer group's title: a second "Configuration".
TEST_F(CAccessibilityTest, TheShareIrqGroupAndItsListsAreNamedAsSuch) {
    ClickItem("QSERDRV/Board000");
    const struct {
        int id;
        const char* name;
    } lists[] = {{IDC_SHARE_IRQ, "Share IRQ"}, {IDC_VECTOR_ADDRESS, "Vector Address"}};
    for (const auto& list : lists) {
        auto* combo = Control<QComboBox>(kBoardFormId, list.id);
        EXPECT_EQ(Said(combo, QAccessible::Name), QString::fromLatin1(list.name)) << list.id;
        auto* group = qobject_cast<QGroupBox*>(combo->parentWidget());
        ASSERT_NE(group, nullptr) << list.id;
        EXPECT_EQ(Said(group, QAccessible::Name), QStringLiteral("Share IRQ Setting")) << list.id;
    }
}

// Qt shows a disabled widget's tooltip: a greyed field says there, and to a screen reader, why.
TEST_F(CAccessibilityTest, AGreyedFieldSaysWhyInItsTooltipAndDescription) {
    ClickItem("QSERDRV/Board000/Port001");
    auto* address = Control<QComboBox>(kPortFormId, IDC_PORT_ADDRESS);
    ASSERT_FALSE(address->isEnabled());
    const QString why = QStringLiteral("set by the board's base address");
    EXPECT_EQ(Said(address, QAccessible::Description), why);
    const QPoint inside(address->width() / 2, address->height() / 2);
    QHelpEvent help(QEvent::ToolTip, inside, address->mapToGlobal(inside));
    QApplication::sendEvent(address, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), why);
    QToolTip::hideText();
}

// The driver's form is there to be read, field by field, though nothing on it can be changed.
TEST_F(CAccessibilityTest, TheDriverFormsFieldsAreNamedAndRead) {
    ClickItem("QSERDRV");
    const struct {
        int id;
        const char* name;
        const char* value;
    } fields[] = {{IDC_NUM_BOARDS, "Number of Boards", "1"},
                  {IDC_NUM_PORTS, "Number of Ports", "4"}};
    for (const auto& field : fields) {
        auto* edit = Control<QLineEdit>(kSystemFormId, field.id);
        EXPECT_EQ(Said(edit, QAccessible::Name), QString::fromLatin1(field.name)) << field.id;
        EXPECT_EQ(Said(edit, QAccessible::Value), QString::fromLatin1(field.value)) << field.id;
        EXPECT_TRUE(edit->isVisible()) << field.id;
    }
}

TEST_F(CAccessibilityTest, TheStatusBarPanesAndTheHelpWindowAreNamed) {
    CFrameStatusBar* bar = Frame().StatusBar();
    for (int i = 0; i < CFrameStatusBar::kIndicatorCount; ++i) {
        EXPECT_FALSE(Said(bar->Indicator(i), QAccessible::Name).isEmpty()) << i;
    }
    EXPECT_EQ(Said(bar->RegistryFilePane(), QAccessible::Name), QStringLiteral("Registry file"));

    CHelpViewer help;
    help.WinHelp(0, 0);
    ASSERT_NE(help.Window(), nullptr);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(help.Window());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("QSER Help"));
}

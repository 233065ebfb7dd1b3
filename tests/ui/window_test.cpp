#include "commandids.h"
#include "configtreectrl.h"
#include "controltemplate.h"
#include "dialogtemplates.h"
#include "formpane.h"
#include "framestatusbar.h"
#include "helpviewer.h"
#include "processscope.h"
#include "qserdoc.h"
#include "treebrowserbar.h"
#include "uifixture.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <functional>

namespace {
const std::string kDriverKey = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV";

class CWindowTest : public CUiFixture {
protected:
    void SetUp() override {
        Start();
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    }

    CFormPane& Pane() const { return *Frame().findChild<CFormPane*>(); }
    QMenu& TreeMenu() const {
        return *Frame().Tree().findChild<QMenu*>(QStringLiteral("treeContextMenu"));
    }
    QAction* MenuItem(const QString& text) const {
        for (QAction* action : TreeMenu().actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        return nullptr;
    }

    // Every accessible object below the interface, depth first.
    static void Walk(QAccessibleInterface* node,
                     const std::function<void(QAccessibleInterface*)>& visit) {
        visit(node);
        for (int i = 0; i < node->childCount(); ++i) {
            if (QAccessibleInterface* child = node->child(i)) {
                Walk(child, visit);
            }
        }
    }
};
} // namespace

// Typed text that is no entry is never applied, and never dropped without a word: it stays.
TEST_F(CWindowTest, TypedTextThatIsNoEntryStaysUnappliedWhenTheFieldIsLeft) {
    ClickButton(ID_ADD_BOARD);
    auto* type = Control<QComboBox>(3000, IDC_BOARD_TYPE);
    const QString stored = type->currentText();
    type->lineEdit()->setFocus();
    type->lineEdit()->selectAll();
    QTest::keyClicks(type->lineEdit(), QStringLiteral("FOO-1"));
    EXPECT_EQ(type->currentText(), QStringLiteral("FOO-1"));
    Frame().Tree().setFocus();
    EXPECT_EQ(type->currentText(), QStringLiteral("FOO-1"));
    EXPECT_EQ(RegistryText(kDriverKey + "\\Board000", "BoardType"), stored.toStdString());

    // A stored text that is no entry comes back as well.
    auto* vector = Control<QComboBox>(3000, IDC_VECTOR_ADDRESS);
    ASSERT_EQ(vector->currentIndex(), -1);
    const QString none = vector->currentText();
    vector->lineEdit()->setFocus();
    QTest::keyClicks(vector->lineEdit(), QStringLiteral("0x999"));
    QTest::keyClick(vector->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(vector->currentText(), none);
}

// Values typed into another program's .reg file may differ in case from the lists' entries.
TEST_F(CWindowTest, ATextReadInAnyCaseIsShownAsItsEntry) {
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_PORT);
    CloseAndDestroy();
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.Hive().FindKey(kDriverKey + "\\Board000\\Port000", key), ERROR_SUCCESS);
    const auto text = [](const std::string& value) {
        std::vector<std::uint8_t> bytes(value.begin(), value.end());
        bytes.push_back(0);
        return bytes;
    };
    m_hive.Hive().WriteValue(key, "PortCOMPort", REG_SZ, text("com5"));
    m_hive.Hive().WriteValue(key, "PortAddress", REG_SZ, text("0X208"));
    Start();
    // Expanding a board lists its ports again, as new items.
    ClickItem("QSERDRV/Board000");
    Frame().Tree().expandItem(Item("QSERDRV/Board000"));
    ClickItem("QSERDRV/Board000/Port000");
    auto* com = Control<QComboBox>(3001, IDC_COM_PORT);
    EXPECT_EQ(com->currentText(), QStringLiteral("COM5"));
    EXPECT_GE(com->currentIndex(), 0);
    auto* address = Control<QComboBox>(3001, IDC_PORT_ADDRESS);
    EXPECT_EQ(address->currentText(), QStringLiteral("0x208"));
    EXPECT_GE(address->currentIndex(), 0);
}

// Expanding the driver item lists the boards again and selects the driver item, which is then
// shown selected, not merely current.
TEST_F(CWindowTest, TheCurrentItemStaysShownSelected) {
    ClickButton(ID_ADD_BOARD);
    ClickItem("QSERDRV");
    CConfigTreeCtrl& tree = Frame().Tree();
    tree.collapseItem(Item("QSERDRV"));
    tree.expandItem(Item("QSERDRV"));
    QApplication::processEvents();
    EXPECT_EQ(tree.currentItem(), Item("QSERDRV"));
    EXPECT_TRUE(Item("QSERDRV")->isSelected());
    EXPECT_EQ(tree.selectedItems().size(), 1);

    // Nor does a click below the items take the selection away.
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                      QPoint(5, tree.viewport()->height() - 5));
    EXPECT_TRUE(Item("QSERDRV")->isSelected());
    EXPECT_TRUE(tree.hasFocus());
}

TEST_F(CWindowTest, TreeNamesAreNeverCut) {
    ClickButton(ID_ADD_BOARD);
    for (int i = 0; i < 2; ++i) {
        ClickButton(ID_ADD_PORT);
        ClickItem("QSERDRV/Board000");
    }
    Frame().Tree().expandAll();
    for (int width : {60, 300}) {
        Frame().resizeDocks({Frame().TreeBar()}, {width}, Qt::Horizontal);
        Frame().resize(Frame().width(), 200);
        QApplication::processEvents();
        CConfigTreeCtrl& tree = Frame().Tree();
        const int viewport = tree.viewport()->width();
        const bool scrolls =
            tree.horizontalScrollBar()->isVisible() && tree.horizontalScrollBar()->maximum() > 0;
        for (const char* path : {"QSERDRV", "QSERDRV/Board000", "QSERDRV/Board000/Port001"}) {
            QTreeWidgetItem* item = Item(path);
            const int textRight = tree.visualItemRect(item).left() + tree.indentation() +
                                  tree.fontMetrics().horizontalAdvance(item->text(0));
            EXPECT_GE(tree.columnWidth(0) + tree.indentation(),
                      textRight - tree.visualItemRect(item).left())
                << path << " at " << width;
            EXPECT_TRUE(textRight <= viewport + tree.horizontalScrollBar()->value() || scrolls)
                << path << " at " << width;
        }
        if (width == 60) {
            EXPECT_TRUE(scrolls);
        }
    }
}

// Dotted lines join the items, whatever the style draws.
TEST_F(CWindowTest, TheTreeDrawsLinesJoiningItsItems) {
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_BOARD);
    CConfigTreeCtrl& tree = Frame().Tree();
    const auto branchInk = [&tree] {
        QApplication::processEvents();
        const QImage image = tree.viewport()->grab().toImage();
        const QRect row = tree.visualItemRect(tree.topLevelItem(0)->child(0));
        const QRgb ink = tree.palette().color(QPalette::Dark).rgb();
        int count = 0;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = 0; x < row.left(); ++x) {
                count += image.pixel(x * image.width() / tree.viewport()->width(),
                                     y * image.height() / tree.viewport()->height()) == ink
                             ? 1
                             : 0;
            }
        }
        return count;
    };
    const int withLines = branchInk();
    tree.SetStyleBits(TVS_HASLINES, false);
    const int withoutLines = branchInk();
    tree.SetStyleBits(TVS_HASLINES, true);
    EXPECT_GT(withLines, withoutLines + 4);
}

TEST_F(CWindowTest, AFormLargerThanItsPaneScrolls) {
    ClickButton(ID_ADD_BOARD);
    EXPECT_FALSE(Pane().verticalScrollBar()->isVisible());
    EXPECT_FALSE(Pane().horizontalScrollBar()->isVisible());
    Frame().resizeDocks({Frame().TreeBar()}, {400}, Qt::Horizontal);
    Frame().resize(Frame().width(), Frame().height() / 2);
    QApplication::processEvents();
    EXPECT_TRUE(Pane().verticalScrollBar()->isVisible());
    QWidget* lowest = Control<QWidget>(3000, IDC_VECTOR_ADDRESS);
    const QPoint bottom = lowest->mapTo(&Pane().Content(), QPoint(0, lowest->height()));
    EXPECT_GE(Pane().Content().height(), bottom.y());
    Pane().verticalScrollBar()->setValue(Pane().verticalScrollBar()->maximum());
    QApplication::processEvents();
    const QRect shown(lowest->mapTo(Pane().viewport(), QPoint(0, 0)), lowest->size());
    EXPECT_GE(shown.top(), 0);
    EXPECT_LE(shown.bottom(), Pane().viewport()->rect().bottom());
    // Scrolled to the right, every control can be reached.
    if (Pane().viewport()->width() < Pane().Content().minimumWidth()) {
        EXPECT_TRUE(Pane().horizontalScrollBar()->isVisible());
    }
    for (const SControlTemplate& spec : CDialogTemplates::BoardForm().controls) {
        if (spec.id != kNoControlId) {
            QWidget* control = Control<QWidget>(3000, spec.id);
            const QPoint right = control->mapTo(&Pane().Content(), QPoint(control->width(), 0));
            EXPECT_LE(right.x(), Pane().Content().width()) << spec.id;
        }
    }
}

TEST_F(CWindowTest, TheBarKeepsItsDockedWidthOnEitherSide) {
    CTreeBrowserBar& bar = *Frame().TreeBar();
    Frame().resizeDocks({&bar}, {170}, Qt::Horizontal);
    QApplication::processEvents();
    ASSERT_EQ(bar.width(), 170);
    for (Qt::DockWidgetArea side :
         {Qt::RightDockWidgetArea, Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea}) {
        bar.Dock(side);
        QApplication::processEvents();
        EXPECT_EQ(Frame().dockWidgetArea(&bar), side);
        EXPECT_EQ(bar.width(), 170) << side;
        EXPECT_EQ(bar.DockedSize().width(), 170) << side;
    }
    // With room at the right of the window, the floating bar goes there.
    Frame().move(Frame().screen()->availableGeometry().topLeft());
    QApplication::processEvents();
    const QSize floating = bar.FloatingSize();
    bar.Float();
    QApplication::processEvents();
    EXPECT_EQ(bar.size(), floating);
    EXPECT_FALSE(bar.frameGeometry().intersects(Frame().frameGeometry()));
    bar.ToggleFloating();
    QApplication::processEvents();
    EXPECT_FALSE(bar.isFloating());
    EXPECT_EQ(Frame().dockWidgetArea(&bar), Qt::RightDockWidgetArea);
}

TEST_F(CWindowTest, DoubleClickOnTheGripperFloatsTheBarBesideTheWindowAndBack) {
    Frame().move(Frame().screen()->availableGeometry().topLeft());
    QApplication::processEvents();
    CTreeBrowserBar& bar = *Frame().TreeBar();
    QTest::mouseDClick(bar.titleBarWidget(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(bar.isFloating());
    EXPECT_FALSE(bar.frameGeometry().intersects(Frame().frameGeometry()));
    QTest::mouseDClick(bar.titleBarWidget(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(bar.isFloating());
    EXPECT_EQ(Frame().dockWidgetArea(&bar), Qt::LeftDockWidgetArea);
}

TEST_F(CWindowTest, ContextMenuOffersTheEditCommandsInTheirEnableStates) {
    const QString add = QStringLiteral("Add &Board");
    const QString port = QStringLiteral("Add &Port");
    const QString remove = QStringLiteral("&Delete");
    struct SState {
        const char* path;
        bool board;
        bool port;
        bool remove;
    };
    // A board without ports takes ports; the port of a full board has none to add.
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_PORT);
    for (const SState& state :
         {SState{"QSERDRV", true, false, false}, SState{"QSERDRV/Board000", true, true, true},
          SState{"QSERDRV/Board001/Port000", true, false, true}}) {
        // A right click on the item selects it first.
        ClickItem("QSERDRV");
        CConfigTreeCtrl& tree = Frame().Tree();
        const QPoint at = tree.visualItemRect(Item(state.path)).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, tree.viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree.viewport(), &click);
        EXPECT_EQ(tree.currentItem(), Item(state.path));
        EXPECT_TRUE(TreeMenu().isVisible()) << state.path;
        EXPECT_EQ(MenuItem(add)->isEnabled(), state.board) << state.path;
        EXPECT_EQ(MenuItem(port)->isEnabled(), state.port) << state.path;
        EXPECT_EQ(MenuItem(remove)->isEnabled(), state.remove) << state.path;
        TreeMenu().hide();
    }
    // The Menu key opens it at the current item.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
    QApplication::sendEvent(&Frame().Tree(), &key);
    EXPECT_TRUE(TreeMenu().isVisible());
    EXPECT_FALSE(MenuItem(QStringLiteral("&Float Tree Browser")) == nullptr);
    EXPECT_FALSE(MenuItem(QStringLiteral("Dock at &Left"))->isEnabled());
    EXPECT_TRUE(MenuItem(QStringLiteral("Dock at &Right"))->isEnabled());
    TreeMenu().hide();
}

TEST_F(CWindowTest, DeleteKeyInTheTreeAsksAndDeletesAndF1OpensHelp) {
    ClickButton(ID_ADD_BOARD);
    Frame().Tree().setFocus();
    m_hive.Messages().ScriptAnswer(EMsgResult::No);
    QTest::keyClick(&Frame().Tree(), Qt::Key_Delete);
    ASSERT_EQ(m_hive.Messages().Records().size(), 1u);
    EXPECT_EQ(m_hive.Messages().Records()[0].buttons, EMsgButtons::YesNo);
    EXPECT_NE(Item("QSERDRV/Board000"), nullptr);
    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    QTest::keyClick(&Frame().Tree(), Qt::Key_Delete);
    EXPECT_EQ(Item("QSERDRV/Board000"), nullptr);
    EXPECT_FALSE(KeyExists(kDriverKey + "\\Board000"));

    // On the driver item Delete is greyed: the key asks nothing.
    m_hive.Messages().Clear();
    QTest::keyClick(&Frame().Tree(), Qt::Key_Delete);
    EXPECT_TRUE(m_hive.Messages().Records().empty());

    CHelpViewer help;
    {
        CProcessScope helpScope(SProcessReferences{.helpRequest = &help});
        QTest::keyClick(&Frame().Tree(), Qt::Key_F1);
    }
    ASSERT_NE(help.Window(), nullptr);
    EXPECT_TRUE(help.Window()->isVisible());
    EXPECT_EQ(help.Browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
}

TEST_F(CWindowTest, TabSkipsReadOnlyFieldsAndTheFocusedBoxHighlightsItsText) {
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_PORT);
    ClickItem("QSERDRV/Board000/Port000");
    Frame().Tree().setFocus();
    QTest::keyClick(&Frame().Tree(), Qt::Key_Tab);
    // The first list that is enabled, past Port Name and Port Index.
    QWidget* first = nullptr;
    for (const SControlTemplate& spec : CDialogTemplates::PortForm().controls) {
        QWidget* control =
            spec.kind == EControlKind::ComboBox ? Control<QWidget>(3001, spec.id) : nullptr;
        if (first == nullptr && control != nullptr && control->isEnabled()) {
            first = control;
        }
    }
    ASSERT_NE(first, nullptr);
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == first || focus->parentWidget() == first)
        << focus->objectName().toStdString();

    ClickItem("QSERDRV/Board000");
    QWidget* box = Control<QWidget>(3000, IDC_STANDARD_MODE_ENABLE);
    QLabel* label = nullptr;
    for (QLabel* candidate : Form(3000)->findChildren<QLabel*>()) {
        if (candidate->buddy() == box) {
            label = candidate;
        }
    }
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->autoFillBackground());
    box->setFocus();
    EXPECT_TRUE(label->autoFillBackground());
    EXPECT_EQ(label->backgroundRole(), QPalette::Highlight);
    Frame().Tree().setFocus();
    EXPECT_FALSE(label->autoFillBackground());
}

TEST_F(CWindowTest, AGreyedMenuItemShowsItsPromptToo) {
    ASSERT_FALSE(Action(ID_ADD_PORT)->isEnabled());
    QMenu* edit = nullptr;
    for (QAction* title : Frame().menuBar()->actions()) {
        if (title->text() == QStringLiteral("&Edit")) {
            edit = title->menu();
        }
    }
    ASSERT_NE(edit, nullptr);
    edit->popup(Frame().mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
    QTest::mouseMove(edit, edit->actionGeometry(Action(ID_ADD_PORT)).center());
    EXPECT_EQ(Frame().statusBar()->currentMessage(), QStringLiteral("Add a new port"));
    QTest::mouseMove(edit, edit->actionGeometry(Action(ID_ADD_BOARD)).center());
    EXPECT_EQ(Frame().statusBar()->currentMessage(), QStringLiteral("Add a new board"));
    edit->hide();
}

TEST_F(CWindowTest, TheRegistryFileIsNamedInTheStatusBarAndOnTheDriverItem) {
    const QString path = QString::fromStdString(m_hive.FilePath());
    QLabel* pane = Frame().StatusBar()->RegistryFilePane();
    EXPECT_EQ(pane->toolTip(), path);
    EXPECT_TRUE(pane->text().endsWith(QStringLiteral("registry.db"))) << pane->text().toStdString();
    EXPECT_LE(pane->width(), Frame().width() / 2);
    EXPECT_TRUE(Item("QSERDRV")->toolTip(0).contains(path));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("registry.db[*] - Brimholde - QSER"));
    // After the lock indicators (shown, when a lock is on).
    Frame().StatusBar()->Indicator(2)->show();
    QApplication::processEvents();
    EXPECT_GT(pane->x(), Frame().StatusBar()->Indicator(2)->x());
}

TEST_F(CWindowTest, EveryButtonAndTheTreeHaveANameAndNoNameHoldsATab) {
    ClickButton(ID_ADD_BOARD);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&Frame());
    ASSERT_NE(window, nullptr);
    int buttons = 0;
    Walk(window, [&buttons](QAccessibleInterface* node) {
        const QString name = node->text(QAccessible::Name);
        EXPECT_FALSE(name.contains(QLatin1Char('\t'))) << name.toStdString();
        if (node->state().invisible != 0) {
            return;
        }
        if (node->role() == QAccessible::Button || node->role() == QAccessible::Tree ||
            node->role() == QAccessible::ComboBox || node->role() == QAccessible::CheckBox ||
            node->role() == QAccessible::EditableText) {
            EXPECT_FALSE(name.isEmpty())
                << node->role() << " " << node->text(QAccessible::Value).toStdString();
        }
        buttons += node->role() == QAccessible::Button ? 1 : 0;
    });
    EXPECT_GE(buttons, 8);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(
                  Frame().ConfigToolBar()->widgetForAction(Action(ID_EXIT_BUTTON)))
                  ->text(QAccessible::Name),
              QStringLiteral("Exit"));
}

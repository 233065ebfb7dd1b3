#include "commandids.h"
#include "uifixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <vector>

namespace {
struct SMenuItem {
    int id; // 0: separator
    const char* text;
};

struct SMenu {
    const char* title;
    std::vector<SMenuItem> items;
};

const std::vector<SMenu> kMenu128 = {
    {"&File",
     {{57600, "&New\tCtrl+N"},
      // Beyond the original's menu: a registry file opened as a desktop program opens a file.
      {57601, "&Open...\tCtrl+O"},
      {57616, "Open &Recent"},
      {57603, "&Save\tCtrl+S"},
      {0, ""},
      {32800, "&Import...\tCtrl+I"},
      {32801, "&Export..."},
      {0, ""},
      // Beyond the original's menu: another configuration compared and applied.
      {32804, "&Compare With..."},
      {32805, "&Apply Configuration..."},
      {0, ""},
      {57665, "E&xit\tCtrl+Q"}}},
    {"&Edit",
     {{57643, "&Undo\tCtrl+Z"},
      {57644, "&Redo\tCtrl+Shift+Z"},
      {0, ""},
      {32776, "Add &Board"},
      {32774, "Add &Port"},
      {0, ""},
      {32781, "&Delete"}}},
    {"&View",
     {{32780, "&Tree Browser"},
      {59392, "&MainToolbar"},
      {59393, "&Status Bar"},
      {32783, "&Configuration Toolbar"},
      // Beyond the original's menu: the Problems bar.
      {32791, "&Problems"},
      {32803, "Problems Bar &Floating"}}},
    {"&Help",
     {{57667, "&Help Topics"}, {0, ""}, {57664, "&About QSER..."}, {32802, "About &Qt..."}}},
};

struct SPrompt {
    int id;
    const char* prompt;
    const char* toolTip;
};

const std::vector<SPrompt> kPrompts = {
    {57600, "Create a new configuration", "New"},
    {57603, "Save to Registry", "Save"},
    {57665, "Quit the application; prompts to save documents", "Exit"},
    {32776, "Add a new board", "Add board"},
    {32774, "Add a new port", "Add port"},
    {32781, "Delete the currently selected item in the tree", "Delete"},
    {32780, "Show/Hide Tree Browser", ""},
    {59392, "Show or hide the main toolbar", "Toggle Main ToolBar"},
    {59393, "Show or hide the status bar", "Toggle StatusBar"},
    {32783, "Show or hide the Configuration toolbar", "Toggle Configuration ToolBar"},
    {32791, "Show or hide the Problems bar", "Toggle Problems Bar"},
    {57667, "Utility Help", "Help"},
    {57664, "Display program information, version number and copyright", "About"},
    {32790, "", ""},
    {32800, "Import a registration (.reg) file into the registry", "Import"},
};

struct SAccelerator {
    int id;
    std::vector<QKeySequence> keys;
};

const std::vector<SAccelerator> kAccelerators = {
    {ID_FILE_NEW, {QKeySequence(QStringLiteral("Ctrl+N"))}},
    {ID_FILE_OPEN, {QKeySequence(QStringLiteral("Ctrl+O"))}},
    {ID_FILE_IMPORT, {QKeySequence(QStringLiteral("Ctrl+I"))}},
    {ID_APP_EXIT, {QKeySequence(QStringLiteral("Ctrl+Q"))}},
    {ID_EDIT_REDO, {QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}},
    {ID_FILE_SAVE, {QKeySequence(QStringLiteral("Ctrl+S"))}},
    {ID_EDIT_UNDO,
     {QKeySequence(QStringLiteral("Ctrl+Z")), QKeySequence(QStringLiteral("Alt+Backspace"))}},
    {ID_EDIT_CUT,
     {QKeySequence(QStringLiteral("Ctrl+X")), QKeySequence(QStringLiteral("Shift+Del"))}},
    {ID_EDIT_COPY,
     {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))}},
    {ID_EDIT_PASTE,
     {QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Shift+Ins"))}},
    {ID_NEXT_PANE, {QKeySequence(QStringLiteral("F6"))}},
    {ID_HELP_FINDER, {QKeySequence(QStringLiteral("F1"))}},
    {ID_PREV_PANE, {QKeySequence(QStringLiteral("Shift+F6"))}},
};

std::vector<int> ToolBarIds(const QToolBar& bar) {
    std::vector<int> ids;
    for (QAction* action : bar.actions()) {
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    }
    return ids;
}

class CMenuTest : public CUiFixture {
protected:
    void SetUp() override { Start(); }
};
} // namespace

TEST_F(CMenuTest, Menu128HasEveryItemWithItsTextMnemonicAndId) {
    const QList<QAction*> menus = Frame().menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(kMenu128.size()));
    for (std::size_t m = 0; m < kMenu128.size(); ++m) {
        QMenu* menu = menus[static_cast<qsizetype>(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), QString::fromLatin1(kMenu128[m].title));
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(kMenu128[m].items.size()))
            << menu->title().toStdString();
        for (std::size_t i = 0; i < kMenu128[m].items.size(); ++i) {
            const SMenuItem& expected = kMenu128[m].items[i];
            QAction* item = items[static_cast<qsizetype>(i)];
            EXPECT_EQ(item->isSeparator(), expected.id == 0);
            if (expected.id != 0) {
                EXPECT_EQ(item->data().toInt(), expected.id);
                // The menu shows the shortcut after the tab.
                const QString text = QString::fromLatin1(expected.text);
                EXPECT_EQ(item->text(), text.section(QLatin1Char('\t'), 0, 0));
                if (text.contains(QLatin1Char('\t'))) {
                    EXPECT_EQ(item->shortcut().toString(QKeySequence::NativeText),
                              text.section(QLatin1Char('\t'), 1));
                }
            }
        }
    }
}

TEST_F(CMenuTest, PromptsAndTooltipsFollowTheStringTable) {
    for (const SPrompt& expected : kPrompts) {
        QAction* action = Action(expected.id);
        ASSERT_NE(action, nullptr) << expected.id;
        EXPECT_EQ(action->statusTip(), QString::fromLatin1(expected.prompt)) << expected.id;
        if (expected.toolTip[0] != '\0') {
            EXPECT_EQ(action->toolTip(), QString::fromLatin1(expected.toolTip)) << expected.id;
        }
    }
}

TEST_F(CMenuTest, AcceleratorTableBindsItsKeysToTheWindow) {
    for (const SAccelerator& expected : kAccelerators) {
        QAction* action = Action(expected.id);
        ASSERT_NE(action, nullptr) << expected.id;
        EXPECT_EQ(action->shortcuts(),
                  QList<QKeySequence>(expected.keys.begin(), expected.keys.end()))
            << expected.id;
        EXPECT_TRUE(Frame().actions().contains(action)) << expected.id;
    }
}

TEST_F(CMenuTest, ToolbarsCarryTheirButtonsSizesAndDockingSides) {
    QToolBar* main = Frame().MainToolBar();
    // Undo and Redo beside the original's four buttons.
    EXPECT_EQ(ToolBarIds(*main), (std::vector<int>{57600, 57603, 57643, 57644, 57667, 57664}));
    EXPECT_EQ(main->iconSize(), QSize(17, 15));
    EXPECT_EQ(main->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(Frame().toolBarArea(main), Qt::TopToolBarArea);

    QToolBar* config = Frame().ConfigToolBar();
    EXPECT_EQ(ToolBarIds(*config), (std::vector<int>{32776, 32774, 32781, 0, 32790}));
    EXPECT_EQ(config->iconSize(), QSize(90, 32));
    EXPECT_EQ(config->allowedAreas(), Qt::TopToolBarArea | Qt::BottomToolBarArea);
    EXPECT_EQ(Frame().toolBarArea(config), Qt::BottomToolBarArea);
}

TEST_F(CMenuTest, ToolbarButtonsShowTheirTooltipsAndPictures) {
    for (int id : {57600, 57603, 57643, 57644, 57667, 57664, 32776, 32774, 32781}) {
        QWidget* button = Frame().MainToolBar()->widgetForAction(Action(id));
        if (button == nullptr) {
            button = Frame().ConfigToolBar()->widgetForAction(Action(id));
        }
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->toolTip(), Action(id)->toolTip()) << id;
        EXPECT_FALSE(Action(id)->icon().isNull()) << id;
    }
    EXPECT_FALSE(Action(ID_EXIT_BUTTON)->icon().isNull());
}

#include "mainmenu.h"

#include "commandids.h"
#include "frameactions.h"
#include "menuprompts.h"

#include <QMenu>
#include <QMenuBar>
#include <initializer_list>

namespace {
constexpr int kSeparator = 0;
constexpr int kSubMenu = -1;

void AddMenu(QMenuBar& menuBar, const CFrameActions& actions, const char* title,
             std::initializer_list<int> items, QMenu* subMenu = nullptr) {
    QMenu* menu = menuBar.addMenu(QString::fromLatin1(title));
    new CMenuPrompts(*menu, menuBar);
    for (int id : items) {
        if (id == kSeparator) {
            menu->addSeparator();
        } else if (id == kSubMenu) {
            subMenu->setParent(menu, subMenu->windowFlags());
            menu->addMenu(subMenu);
        } else {
            menu->addAction(actions.Action(id));
        }
    }
}
} // namespace

void CMainMenu::Build(QMenuBar& menuBar, const CFrameActions& actions, QMenu& recent) {
    AddMenu(menuBar, actions, "&File",
            {ID_FILE_NEW, ID_FILE_OPEN, kSubMenu, ID_FILE_SAVE, kSeparator, ID_FILE_IMPORT,
             ID_FILE_EXPORT, kSeparator, ID_FILE_COMPARE, ID_FILE_APPLY, kSeparator, ID_APP_EXIT},
            &recent);
    AddMenu(
        menuBar, actions, "&Edit",
        {ID_EDIT_UNDO, ID_EDIT_REDO, kSeparator, ID_ADD_BOARD, ID_ADD_PORT, kSeparator, ID_DELETE});
    AddMenu(menuBar, actions, "&View",
            {ID_VIEW_TREE_BROWSER, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_CONFIG_TOOLBAR,
             ID_VIEW_PROBLEMS_BAR, ID_VIEW_PROBLEMS_FLOAT});
    AddMenu(menuBar, actions, "&Help",
            {ID_HELP_FINDER, kSeparator, ID_APP_ABOUT, ID_HELP_ABOUT_QT});
}

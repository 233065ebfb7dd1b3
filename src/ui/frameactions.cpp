#include "frameactions.h"

#include "commandids.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QWidget>

namespace {
struct SCommand {
    int id;
    const char* text;
    const char* prompt;
    const char* toolTip;
    const char* icon;
    QList<QKeySequence> keys;
    bool checkable;
};

// The menu texts, prompts and tooltips are the program's own strings; the accelerators follow
// its accelerator table, in which New, Open, Save and Undo lead somewhere, and the keys a
// desktop program has besides: F1 Help Topics, Ctrl+I Import, Ctrl+Shift+Z Redo, Ctrl+Q Exit.
const QList<SCommand>& Commands() {
    static const QList<SCommand> commands{
        {ID_FILE_NEW,
         "&New\tCtrl+N",
         "Create a new configuration",
         "New",
         ":/icons/new.svg",
         {QKeySequence(Qt::CTRL | Qt::Key_N)},
         false},
        {ID_FILE_OPEN,
         "&Open...\tCtrl+O",
         "Open a registry file or the SYSTEM hive file of a Windows installation",
         "Open",
         "",
         {QKeySequence(Qt::CTRL | Qt::Key_O)},
         false},
        {ID_FILE_IMPORT,
         "&Import...\tCtrl+I",
         "Import a registration (.reg) file into the registry",
         "Import",
         "",
         {QKeySequence(Qt::CTRL | Qt::Key_I)},
         false},
        {ID_FILE_EXPORT,
         "&Export...",
         "Export the driver key or the whole registry to a registration (.reg) file",
         "Export",
         "",
         {},
         false},
        {ID_FILE_COMPARE,
         "&Compare With...",
         "Compare the configuration with that of a registry, hive, .reg or configuration file",
         "Compare With",
         "",
         {},
         false},
        {ID_FILE_APPLY,
         "&Apply Configuration...",
         "Make the configuration that of a registry, hive, .reg or configuration file",
         "Apply Configuration",
         "",
         {},
         false},
        {ID_FILE_SAVE,
         "&Save\tCtrl+S",
         "Save to Registry",
         "Save",
         ":/icons/save.svg",
         {QKeySequence(Qt::CTRL | Qt::Key_S)},
         false},
        {ID_APP_EXIT,
         "E&xit\tCtrl+Q",
         "Quit the application; prompts to save documents",
         "Exit",
         "",
         {QKeySequence(Qt::CTRL | Qt::Key_Q)},
         false},
        {ID_ADD_BOARD,
         "Add &Board",
         "Add a new board",
         "Add board",
         ":/icons/add-board.svg",
         {},
         false},
        {ID_ADD_PORT, "Add &Port", "Add a new port", "Add port", ":/icons/add-port.svg", {}, false},
        {ID_DELETE,
         "&Delete",
         "Delete the currently selected item in the tree",
         "Delete",
         ":/icons/delete.svg",
         {},
         false},
        {ID_VIEW_TREE_BROWSER, "&Tree Browser", "Show/Hide Tree Browser", "", "", {}, true},
        {ID_VIEW_TOOLBAR,
         "&MainToolbar",
         "Show or hide the main toolbar",
         "Toggle Main ToolBar",
         "",
         {},
         true},
        {ID_VIEW_STATUS_BAR,
         "&Status Bar",
         "Show or hide the status bar",
         "Toggle StatusBar",
         "",
         {},
         true},
        {ID_VIEW_CONFIG_TOOLBAR,
         "&Configuration Toolbar",
         "Show or hide the Configuration toolbar",
         "Toggle Configuration ToolBar",
         "",
         {},
         true},
        {ID_VIEW_PROBLEMS_BAR,
         "&Problems",
         "Show or hide the Problems bar",
         "Toggle Problems Bar",
         "",
         {},
         true},
        {ID_VIEW_PROBLEMS_FLOAT,
         "Problems Bar &Floating",
         "Float the Problems bar in a window of its own or dock it again",
         "Float Problems Bar",
         "",
         {},
         true},
        {ID_HELP_FINDER,
         "&Help Topics",
         "Utility Help",
         "Help",
         ":/icons/help.svg",
         {QKeySequence(Qt::Key_F1)},
         false},
        {ID_APP_ABOUT,
         "&About QSER...",
         "Display program information, version number and copyright",
         "About",
         ":/icons/about.svg",
         {},
         false},
        {ID_HELP_ABOUT_QT, "About &Qt...", "Display the version of Qt", "About Qt", "", {}, false},
        {ID_EXIT_BUTTON, "", "", "", ":/icons/exit.svg", {}, false},
        {ID_EDIT_UNDO,
         "&Undo\tCtrl+Z",
         "Undo the last change",
         "Undo",
         ":/icons/undo.svg",
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)},
         false},
        {ID_EDIT_REDO,
         "&Redo\tCtrl+Shift+Z",
         "Redo the last change undone",
         "Redo",
         ":/icons/redo.svg",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
         false},
        {ID_EDIT_CUT,
         "",
         "",
         "",
         "",
         {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
         false},
        {ID_EDIT_COPY,
         "",
         "",
         "",
         "",
         {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
         false},
        {ID_EDIT_PASTE,
         "",
         "",
         "",
         "",
         {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
         false},
        {ID_NEXT_PANE, "", "", "", "", {QKeySequence(Qt::Key_F6)}, false},
        {ID_PREV_PANE, "", "", "", "", {QKeySequence(Qt::SHIFT | Qt::Key_F6)}, false},
    };
    return commands;
}

QAction* CreateAction(QWidget& parent, const SCommand& command) {
    // A menu shows the shortcut after a tab from the action's shortcut; kept in the text, the
    // tab would reach every button's and screen reader's name as well.
    const QString text = QString::fromLatin1(command.text).section(QLatin1Char('\t'), 0, 0);
    auto* action = new QAction(text, &parent);
    action->setData(command.id);
    action->setStatusTip(QString::fromLatin1(command.prompt));
    action->setToolTip(QString::fromLatin1(command.toolTip));
    action->setShortcuts(command.keys);
    action->setCheckable(command.checkable);
    if (command.icon[0] != '\0') {
        action->setIcon(QIcon(QString::fromLatin1(command.icon)));
    }
    // Accelerators work wherever the window has the focus, also for commands without a menu
    // item or button.
    parent.addAction(action);
    return action;
}
} // namespace

CFrameActions::CFrameActions(QWidget& parent) {
    for (const SCommand& command : Commands()) {
        m_actions[command.id] = CreateAction(parent, command);
    }
}

QAction* CFrameActions::Action(int id) const {
    auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

QString CFrameActions::ButtonName(int id) const {
    const QAction* action = Action(id == ID_EXIT_BUTTON ? ID_APP_EXIT : id);
    return action == nullptr ? QString() : action->toolTip();
}

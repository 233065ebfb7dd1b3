#pragma once

#include <QString>
#include <map>

class QAction;
class QWidget;

// Every command of the main window as a QAction: its menu text with mnemonic and shortcut text,
// its accelerators, its status-bar prompt, its tooltip and its toolbar picture. The action's
// data is its command id. The actions belong to the parent widget, which also receives the
// accelerators of the commands that have no menu item or button.
class CFrameActions {
public:
    explicit CFrameActions(QWidget& parent);

    // Null for an id that is no command of the window.
    QAction* Action(int id) const;
    // What a screen reader calls the command's toolbar button: its tooltip, without the tab and
    // shortcut of the menu text. The Exit button, which has no tooltip, is named as File Exit.
    QString ButtonName(int id) const;

private:
    std::map<int, QAction*> m_actions;
};

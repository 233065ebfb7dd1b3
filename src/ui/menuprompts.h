#pragma once

#include <QObject>

class QAction;
class QMenu;
class QWidget;

// Shows the status-bar prompt of a greyed item of a menu while the mouse is on it, as the
// toolbars do for their greyed buttons; the menu itself prompts for enabled items only. Lives
// as long as the menu.
class CMenuPrompts : public QObject {
public:
    // target is the widget the menu opens from (the menu bar), through which prompts reach the
    // main window's status bar.
    CMenuPrompts(QMenu& menu, QWidget& target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnHover(QAction* under);

    QMenu& m_menu;
    QWidget& m_target;
    QAction* m_pShown = nullptr;
};

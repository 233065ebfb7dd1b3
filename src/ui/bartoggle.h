#pragma once

#include <QAction>
#include <QObject>
#include <QPointer>

class QWidget;

// Binds a View command to a bar (toolbar, status bar, tree browser): the command shows the bar
// when it is hidden and hides it when it is shown, and the command's check mark follows the
// bar's visibility however it changes, also when a floating bar is closed by its own close
// button. Hiding the whole window does not clear the check mark. Lives as long as the bar.
class CBarToggle : public QObject {
public:
    CBarToggle(QAction& action, QWidget& bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Toggle();
    void UpdateCheck();

    // The frame may delete its actions before its bars.
    QPointer<QAction> m_pAction;
    QWidget& m_bar;
};

#include "bartoggle.h"

#include <QAction>
#include <QEvent>
#include <QWidget>

CBarToggle::CBarToggle(QAction& action, QWidget& bar)
    : QObject(&bar), m_action(action), m_bar(bar) {
    connect(&m_action, &QAction::triggered, this, &CBarToggle::Toggle);
    m_bar.installEventFilter(this);
    UpdateCheck();
}

void CBarToggle::Toggle() {
    m_bar.setVisible(m_bar.isHidden());
    UpdateCheck();
}

void CBarToggle::UpdateCheck() {
    m_action.setChecked(!m_bar.isHidden());
}

bool CBarToggle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        UpdateCheck();
    }
    return QObject::eventFilter(watched, event);
}

#include "bartoggle.h"

#include <QAction>
#include <QEvent>
#include <QWidget>

CBarToggle::CBarToggle(QAction& action, QWidget& bar)
    : QObject(&bar), m_pAction(&action), m_bar(bar) {
    connect(&action, &QAction::triggered, this, &CBarToggle::Toggle);
    m_bar.installEventFilter(this);
    UpdateCheck();
}

void CBarToggle::Toggle() {
    m_bar.setVisible(m_bar.isHidden());
    UpdateCheck();
}

void CBarToggle::UpdateCheck() {
    if (m_pAction != nullptr) {
        m_pAction->setChecked(!m_bar.isHidden());
    }
}

bool CBarToggle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        UpdateCheck();
    }
    return QObject::eventFilter(watched, event);
}

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
    // A bar hidden or shown before its window is shown (the window's session) gets only the
    // events "to parent".
    const QEvent::Type type = event->type();
    if (type == QEvent::Show || type == QEvent::Hide || type == QEvent::ShowToParent ||
        type == QEvent::HideToParent) {
        UpdateCheck();
    }
    return QObject::eventFilter(watched, event);
}

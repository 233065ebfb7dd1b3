#include "menuprompts.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>

CMenuPrompts::CMenuPrompts(QMenu& menu, QWidget& target)
    : QObject(&menu), m_menu(menu), m_target(target) {
    m_menu.installEventFilter(this);
}

bool CMenuPrompts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        OnHover(m_menu.actionAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
    } else if (event->type() == QEvent::Hide) {
        OnHover(nullptr);
    }
    return QObject::eventFilter(watched, event);
}

// An enabled item's own prompt is the menu's business; only a greyed item's prompt is shown,
// and taken away again when the mouse leaves it for no item.
void CMenuPrompts::OnHover(QAction* under) {
    const bool greyed = under != nullptr && !under->isSeparator() && !under->isEnabled();
    if (greyed) {
        if (under != m_pShown) {
            m_pShown = under;
            under->showStatusText(&m_target);
        }
        return;
    }
    if (m_pShown != nullptr) {
        m_pShown = nullptr;
        if (under == nullptr || under->isSeparator()) {
            QStatusTipEvent clear{QString()};
            QCoreApplication::sendEvent(&m_target, &clear);
        }
    }
}

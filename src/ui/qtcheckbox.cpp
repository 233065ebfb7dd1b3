#include "qtcheckbox.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

CQtCheckBox::CQtCheckBox(QCheckBox& box, QLabel* label) : m_box(box), m_pLabel(label) {
    QObject::connect(&m_box, &QCheckBox::clicked, this, [this] {
        if (m_onClicked) {
            m_onClicked();
        }
    });
    if (m_pLabel != nullptr) {
        m_pLabel->installEventFilter(this);
    }
}

int CQtCheckBox::GetCheck() const {
    return m_box.isChecked() ? 1 : 0;
}

void CQtCheckBox::SetCheck(int state) {
    m_box.setChecked(state != 0);
}

void CQtCheckBox::EnableWindow(bool enabled) {
    m_box.setEnabled(enabled);
    if (m_pLabel != nullptr) {
        m_pLabel->setEnabled(enabled);
    }
}

bool CQtCheckBox::IsWindowEnabled() const {
    return !m_box.testAttribute(Qt::WA_ForceDisabled);
}

void CQtCheckBox::SetClickedHandler(std::function<void()> handler) {
    m_onClicked = std::move(handler);
}

bool CQtCheckBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && m_box.isEnabled() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_box.click();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

#include "qtcheckbox.h"

#include "latin1text.h"

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
        m_box.installEventFilter(this);
    }
}

// The box of a check box with its text on the left is too small to show the focus clearly; its
// text is highlighted while the box has the focus.
void CQtCheckBox::ShowFocus(bool focused) {
    // Filled only while highlighted: otherwise the label shows the group box's own background.
    m_pLabel->setAutoFillBackground(focused);
    m_pLabel->setBackgroundRole(focused ? QPalette::Highlight : QPalette::Window);
    m_pLabel->setForegroundRole(focused ? QPalette::HighlightedText : QPalette::WindowText);
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
    ShowDisabledReason();
}

void CQtCheckBox::SetDisabledReason(const std::string& reason) {
    m_disabledReason = CLatin1Text::ToQt(reason);
    ShowDisabledReason();
}

void CQtCheckBox::ShowDisabledReason() {
    const QString shown = IsWindowEnabled() ? QString() : m_disabledReason;
    for (QWidget* widget : {static_cast<QWidget*>(&m_box), static_cast<QWidget*>(m_pLabel)}) {
        if (widget != nullptr) {
            widget->setToolTip(shown);
            widget->setAccessibleDescription(shown);
        }
    }
}

bool CQtCheckBox::IsWindowEnabled() const {
    return !m_box.testAttribute(Qt::WA_ForceDisabled);
}

void CQtCheckBox::SetClickedHandler(std::function<void()> handler) {
    m_onClicked = std::move(handler);
}

EPickResult CQtCheckBox::Click() {
    if (!m_box.isEnabled()) {
        return EPickResult::Disabled;
    }
    m_box.click();
    return EPickResult::Done;
}

bool CQtCheckBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_box) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            ShowFocus(event->type() == QEvent::FocusIn);
        }
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonRelease && m_box.isEnabled() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_box.click();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

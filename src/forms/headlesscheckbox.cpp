#include "headlesscheckbox.h"

void CHeadlessCheckBox::SetClickedHandler(std::function<void()> handler) {
    m_onClicked = std::move(handler);
}

EPickResult CHeadlessCheckBox::Click() {
    if (!m_bEnabled) {
        return EPickResult::Disabled;
    }
    m_state = m_state == 0 ? 1 : 0;
    if (m_onClicked) {
        m_onClicked();
    }
    return EPickResult::Done;
}

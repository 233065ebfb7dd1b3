#include "deferredcheckbox.h"

#include "headlesscheckbox.h"

CDeferredCheckBox::CDeferredCheckBox(CHeadlessCheckBox& standIn, std::function<void()> needWindow)
    : m_standIn(standIn), m_needWindow(std::move(needWindow)), m_pCurrent(&standIn) {}

CDeferredCheckBox::~CDeferredCheckBox() = default;

void CDeferredCheckBox::SetClickedHandler(std::function<void()> handler) {
    m_onClicked = handler;
    m_pCurrent->SetClickedHandler(std::move(handler));
}

EPickResult CDeferredCheckBox::Click() {
    m_needWindow();
    return m_pCurrent->Click();
}

void CDeferredCheckBox::Realize(std::unique_ptr<ICheckBox> real) {
    real->SetCheck(m_standIn.GetCheck());
    real->EnableWindow(m_standIn.IsWindowEnabled());
    real->SetDisabledReason(m_standIn.DisabledReason());
    real->SetClickedHandler(m_onClicked);
    m_pReal = std::move(real);
    m_pCurrent = m_pReal.get();
}

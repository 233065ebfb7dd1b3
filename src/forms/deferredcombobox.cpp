#include "deferredcombobox.h"

#include "headlesscombobox.h"

CDeferredComboBox::CDeferredComboBox(CHeadlessComboBox& standIn, std::function<void()> needWindow)
    : m_standIn(standIn), m_needWindow(std::move(needWindow)), m_pCurrent(&standIn) {}

CDeferredComboBox::~CDeferredComboBox() = default;

void CDeferredComboBox::SetActivatedHandler(std::function<void()> handler) {
    m_onActivated = handler;
    m_pCurrent->SetActivatedHandler(std::move(handler));
}

EPickResult CDeferredComboBox::Pick(const std::string& text) {
    m_needWindow();
    return m_pCurrent->Pick(text);
}

void CDeferredComboBox::Realize(std::unique_ptr<IComboBox> real) {
    for (int index = 0; index < m_standIn.GetCount(); ++index) {
        real->AddString(m_standIn.GetLBText(index));
    }
    // Filling a window's box selects its first entry; the stand-in's selection is what counts.
    real->SetCurSel(m_standIn.GetCurSel());
    if (m_standIn.GetCurSel() < 0 && m_standIn.IsEditable() && !m_standIn.GetWindowText().empty()) {
        real->ShowValue(m_standIn.GetWindowText());
    }
    real->EnableWindow(m_standIn.IsWindowEnabled());
    real->SetDisabledReason(m_standIn.DisabledReason());
    real->SetActivatedHandler(m_onActivated);
    m_pReal = std::move(real);
    m_pCurrent = m_pReal.get();
}

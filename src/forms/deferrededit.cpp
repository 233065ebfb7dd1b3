#include "deferrededit.h"

#include "headlessedit.h"

CDeferredEdit::CDeferredEdit(CHeadlessEdit& standIn) : m_standIn(standIn), m_pCurrent(&standIn) {}

CDeferredEdit::~CDeferredEdit() = default;

void CDeferredEdit::Realize(std::unique_ptr<IEdit> real) {
    real->SetWindowText(m_standIn.GetWindowText());
    m_pReal = std::move(real);
    m_pCurrent = m_pReal.get();
}

#pragma once

#include "iedit.h"

#include <memory>

class CHeadlessEdit;

// A read-only field whose window is made only when its page is first shown; until then a
// headless field keeps its text, which Realize hands to the window's field.
class CDeferredEdit : public IEdit {
public:
    explicit CDeferredEdit(CHeadlessEdit& standIn);
    ~CDeferredEdit() override;

    void SetWindowText(const std::string& text) override { m_pCurrent->SetWindowText(text); }
    std::string GetWindowText() const override { return m_pCurrent->GetWindowText(); }

    void Realize(std::unique_ptr<IEdit> real);

private:
    CHeadlessEdit& m_standIn;
    std::unique_ptr<IEdit> m_pReal;
    IEdit* m_pCurrent;
};

#pragma once

#include "icheckbox.h"

#include <functional>
#include <memory>

class CHeadlessCheckBox;

// A check box whose window is made only when its page is first shown; until then a headless box
// keeps its state. Realize hands that state to the window's box, which takes every call from
// then on. A person's click needs the window, so Click asks for it first.
class CDeferredCheckBox : public ICheckBox {
public:
    // needWindow makes the page's windows; it calls Realize.
    CDeferredCheckBox(CHeadlessCheckBox& standIn, std::function<void()> needWindow);
    ~CDeferredCheckBox() override;

    int GetCheck() const override { return m_pCurrent->GetCheck(); }
    void SetCheck(int state) override { m_pCurrent->SetCheck(state); }
    void EnableWindow(bool enabled) override { m_pCurrent->EnableWindow(enabled); }
    bool IsWindowEnabled() const override { return m_pCurrent->IsWindowEnabled(); }
    void SetDisabledReason(const std::string& reason) override {
        m_pCurrent->SetDisabledReason(reason);
    }
    void SetClickedHandler(std::function<void()> handler) override;
    EPickResult Click() override;

    void Realize(std::unique_ptr<ICheckBox> real);

private:
    CHeadlessCheckBox& m_standIn;
    std::function<void()> m_needWindow;
    std::unique_ptr<ICheckBox> m_pReal;
    ICheckBox* m_pCurrent;
    std::function<void()> m_onClicked;
};

#pragma once

#include "icombobox.h"

#include <functional>
#include <memory>

class CHeadlessComboBox;

// A combo box whose window is made only when its page is first shown, so that a page nobody
// opens costs nothing to build. Until then a headless box keeps all the form gives it; Realize
// hands that to the window's box, which takes every call from then on. A person's choice needs
// the window, so Pick asks for it first. The form sees one box throughout.
class CDeferredComboBox : public IComboBox {
public:
    // needWindow makes the page's windows; it calls Realize.
    CDeferredComboBox(CHeadlessComboBox& standIn, std::function<void()> needWindow);
    ~CDeferredComboBox() override;

    void ResetContent() override { m_pCurrent->ResetContent(); }
    int AddString(const std::string& text) override { return m_pCurrent->AddString(text); }
    int GetCount() const override { return m_pCurrent->GetCount(); }
    std::string GetLBText(int index) const override { return m_pCurrent->GetLBText(index); }
    int GetCurSel() const override { return m_pCurrent->GetCurSel(); }
    void SetCurSel(int index) override { m_pCurrent->SetCurSel(index); }
    std::string GetWindowText() const override { return m_pCurrent->GetWindowText(); }
    void ShowValue(const std::string& text) override { m_pCurrent->ShowValue(text); }
    void EnableWindow(bool enabled) override { m_pCurrent->EnableWindow(enabled); }
    bool IsWindowEnabled() const override { return m_pCurrent->IsWindowEnabled(); }
    void SetDisabledReason(const std::string& reason) override {
        m_pCurrent->SetDisabledReason(reason);
    }
    void SetActivatedHandler(std::function<void()> handler) override;
    EPickResult Pick(const std::string& text) override;

    void Realize(std::unique_ptr<IComboBox> real);

private:
    CHeadlessComboBox& m_standIn;
    std::function<void()> m_needWindow;
    std::unique_ptr<IComboBox> m_pReal;
    IComboBox* m_pCurrent;
    std::function<void()> m_onActivated;
};

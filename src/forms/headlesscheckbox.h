#pragma once

#include "headlesscontrol.h"
#include "icheckbox.h"

// A check box without a window. Click() is a person's click: it toggles the box and runs the
// clicked handler; refused while the box is disabled.
class CHeadlessCheckBox : public ICheckBox {
public:
    int GetCheck() const override { return m_state; }
    void SetCheck(int state) override { m_state = state; }
    void EnableWindow(bool enabled) override { m_bEnabled = enabled; }
    bool IsWindowEnabled() const override { return m_bEnabled; }
    void SetClickedHandler(std::function<void()> handler) override;

    EPickResult Click();

private:
    int m_state = 0;
    bool m_bEnabled = true;
    std::function<void()> m_onClicked;
};

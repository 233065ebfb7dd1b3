#pragma once

#include "icheckbox.h"
#include "pickresult.h"

#include <string>

// A check box without a window. Click() is a person's click: it toggles the box and runs the
// clicked handler; refused while the box is disabled.
class CHeadlessCheckBox : public ICheckBox {
public:
    int GetCheck() const override { return m_state; }
    void SetCheck(int state) override { m_state = state; }
    void EnableWindow(bool enabled) override { m_bEnabled = enabled; }
    bool IsWindowEnabled() const override { return m_bEnabled; }
    void SetDisabledReason(const std::string& reason) override { m_disabledReason = reason; }
    const std::string& DisabledReason() const { return m_disabledReason; }
    void SetClickedHandler(std::function<void()> handler) override;

    EPickResult Click() override;

private:
    int m_state = 0;
    bool m_bEnabled = true;
    std::string m_disabledReason;
    std::function<void()> m_onClicked;
};

#pragma once

#include "icombobox.h"
#include "pickresult.h"

#include <vector>

// A combo box without a window. Pick() is a person's choice of an entry.
class CHeadlessComboBox : public IComboBox {
public:
    CHeadlessComboBox(bool editable, bool sorted);

    void ResetContent() override;
    int AddString(const std::string& text) override;
    int GetCount() const override { return static_cast<int>(m_entries.size()); }
    std::string GetLBText(int index) const override;
    int GetCurSel() const override { return m_selected; }
    void SetCurSel(int index) override;
    std::string GetWindowText() const override;
    void ShowValue(const std::string& text) override;
    void EnableWindow(bool enabled) override { m_bEnabled = enabled; }
    bool IsWindowEnabled() const override { return m_bEnabled; }
    void SetDisabledReason(const std::string& reason) override { m_disabledReason = reason; }
    const std::string& DisabledReason() const { return m_disabledReason; }
    void SetActivatedHandler(std::function<void()> handler) override;

    EPickResult Pick(const std::string& text) override;
    // A person typing into an editable box's field: the box shows the text and no entry, and no
    // handler runs. Refused for a disabled box or a fixed list.
    EPickResult Type(const std::string& text);
    const std::vector<std::string>& Entries() const { return m_entries; }
    bool IsEditable() const { return m_bEditable; }

private:
    int IndexOf(const std::string& text) const;

    std::vector<std::string> m_entries;
    int m_selected = -1;
    std::string m_editText;
    bool m_bEditable;
    bool m_bSorted;
    bool m_bEnabled = true;
    std::string m_disabledReason;
    std::function<void()> m_onActivated;
};

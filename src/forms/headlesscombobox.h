#pragma once

#include "headlesscontrol.h"
#include "icombobox.h"

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
    void SetActivatedHandler(std::function<void()> handler) override;

    // Selects the entry equal to text and runs the activated handler. Refused for a disabled
    // box or a text that is not an entry; nothing changes then.
    EPickResult Pick(const std::string& text);
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
    std::function<void()> m_onActivated;
};

#pragma once

#include "icombobox.h"

class QComboBox;

// A QComboBox as the forms use it. An editable box takes no typed text into its list and offers
// no completion; only a person's choice of an entry (QComboBox::activated) reaches the handler.
// A sorted box inserts new entries in case-insensitive order. The widget belongs to its page.
class CQtComboBox : public IComboBox {
public:
    CQtComboBox(QComboBox& combo, bool sorted);

    void ResetContent() override;
    int AddString(const std::string& text) override;
    int GetCount() const override;
    std::string GetLBText(int index) const override;
    int GetCurSel() const override;
    void SetCurSel(int index) override;
    std::string GetWindowText() const override;
    void ShowValue(const std::string& text) override;
    void EnableWindow(bool enabled) override;
    bool IsWindowEnabled() const override;
    void SetActivatedHandler(std::function<void()> handler) override;

private:
    int IndexOf(const std::string& text) const;
    int SortedPosition(const std::string& text) const;

    QComboBox& m_combo;
    bool m_bSorted;
    std::function<void()> m_onActivated;
};

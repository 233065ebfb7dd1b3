#pragma once

#include "icombobox.h"

#include <QString>

class QComboBox;

// A QComboBox as the forms use it. An editable box takes no typed text into its list and offers
// no completion; only a person's choice of an entry (QComboBox::activated) reaches the handler,
// and typed text is replaced by the shown value again when the field loses the focus.
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
    int SortedPosition(const std::string& text) const;
    void RestoreShownText();

    QComboBox& m_combo;
    // What an editable box shows while no entry is selected: the value last shown.
    QString m_shownText;
    bool m_bSorted;
    std::function<void()> m_onActivated;
};

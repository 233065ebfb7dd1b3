#pragma once

#include "icombobox.h"

#include <QString>

class QComboBox;

// A QComboBox as the forms use it. An editable box takes no typed text into its list and offers
// no completion. A person's choice of an entry (QComboBox::activated) reaches the handler; so
// does typed text equal to an entry (case aside) once the field is left or Return is pressed,
// as that entry's choice. Other typed text is never applied: it stays in the field, drawn in
// red and marked (property "invalidText"), and the status bar and the field's tooltip say what
// the field takes, until the next value shown replaces it.
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
    // Shown, while the box is disabled, as its tooltip and accessible description.
    void SetDisabledReason(const std::string& reason) override;
    void SetActivatedHandler(std::function<void()> handler) override;
    EPickResult Pick(const std::string& text) override;

    static constexpr const char* kInvalidProperty = "invalidText";

private:
    int SortedPosition(const std::string& text) const;
    void ApplyTypedText();
    void ShowDisabledReason();
    // Marks typed text that is no entry, or clears the mark when typed is empty.
    void MarkInvalid(const QString& typed);
    QString AllowedText(const QString& typed) const;

    QComboBox& m_combo;
    // What an editable box shows while no entry is selected: the value last shown.
    QString m_shownText;
    bool m_bSorted;
    QString m_disabledReason;
    std::function<void()> m_onActivated;
};

#pragma once

#include "icheckbox.h"

#include <QObject>

class QCheckBox;
class QLabel;

// A QCheckBox as the forms use it; only a person's click (QCheckBox::clicked) reaches the
// handler. A box with its text on the left is a label and a box without text: a click on the
// label clicks the box, enabling or disabling the box does the same to its label, and the label
// is highlighted while the box has the focus.
class CQtCheckBox : public QObject, public ICheckBox {
public:
    // label may be null (the box carries its own text). Both widgets belong to their page.
    CQtCheckBox(QCheckBox& box, QLabel* label);

    int GetCheck() const override;
    void SetCheck(int state) override;
    void EnableWindow(bool enabled) override;
    bool IsWindowEnabled() const override;
    // Shown, while the box is disabled, as the tooltip of the box and its label and as their
    // accessible description.
    void SetDisabledReason(const std::string& reason) override;
    void SetClickedHandler(std::function<void()> handler) override;
    EPickResult Click() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowFocus(bool focused);
    void ShowDisabledReason();

    QCheckBox& m_box;
    QLabel* m_pLabel;
    QString m_disabledReason;
    std::function<void()> m_onClicked;
};

#pragma once

#include "controltemplate.h"
#include "headlesscheckbox.h"
#include "headlesscombobox.h"
#include "headlessedit.h"
#include "idialog.h"

#include <map>
#include <memory>

// A form page without a window, with the controls of its template and their initial lists.
class CHeadlessDialog : public IDialog {
public:
    explicit CHeadlessDialog(const SDialogTemplate& dialogTemplate);

    IComboBox* ComboBox(int id) override { return HeadlessComboBox(id); }
    ICheckBox* CheckBox(int id) override { return HeadlessCheckBox(id); }
    IEdit* Edit(int id) override;
    void ShowWindow(bool visible) override { m_bVisible = visible; }
    bool IsWindowVisible() const override { return m_bVisible; }
    void EnableWindow(bool enabled) override { m_bEnabled = enabled; }
    bool IsWindowEnabled() const override { return m_bEnabled; }

    CHeadlessComboBox* HeadlessComboBox(int id);
    CHeadlessCheckBox* HeadlessCheckBox(int id);
    CHeadlessEdit* HeadlessEdit(int id);
    int TemplateId() const { return m_templateId; }

private:
    int m_templateId;
    std::map<int, std::unique_ptr<CHeadlessComboBox>> m_combos;
    std::map<int, std::unique_ptr<CHeadlessCheckBox>> m_checks;
    std::map<int, std::unique_ptr<CHeadlessEdit>> m_edits;
    bool m_bVisible = false;
    bool m_bEnabled = true;
};

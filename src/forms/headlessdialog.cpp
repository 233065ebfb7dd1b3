#include "headlessdialog.h"

namespace {
template <typename Control>
Control* Lookup(const std::map<int, std::unique_ptr<Control>>& controls, int id) {
    auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second.get();
}
} // namespace

CHeadlessDialog::CHeadlessDialog(const SDialogTemplate& dialogTemplate)
    : m_templateId(dialogTemplate.id) {
    for (const SControlTemplate& spec : dialogTemplate.controls) {
        if (spec.id == kNoControlId) {
            continue;
        }
        if (spec.kind == EControlKind::ComboBox) {
            auto combo = std::make_unique<CHeadlessComboBox>((spec.style & CS_DROPDOWN) != 0,
                                                             (spec.style & CS_SORT) != 0);
            for (const std::string& entry : spec.initialList) {
                combo->AddString(entry);
            }
            m_combos[spec.id] = std::move(combo);
        } else if (spec.kind == EControlKind::CheckBox) {
            m_checks[spec.id] = std::make_unique<CHeadlessCheckBox>();
        } else if (spec.kind == EControlKind::Edit) {
            m_edits[spec.id] = std::make_unique<CHeadlessEdit>();
        }
    }
}

IEdit* CHeadlessDialog::Edit(int id) {
    return HeadlessEdit(id);
}

CHeadlessEdit* CHeadlessDialog::HeadlessEdit(int id) {
    return Lookup(m_edits, id);
}

CHeadlessComboBox* CHeadlessDialog::HeadlessComboBox(int id) {
    return Lookup(m_combos, id);
}

CHeadlessCheckBox* CHeadlessDialog::HeadlessCheckBox(int id) {
    return Lookup(m_checks, id);
}

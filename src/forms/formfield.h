#pragma once

#include "icheckbox.h"
#include "icombobox.h"
#include "idialog.h"
#include "iedit.h"
#include "recordfield.h"

#include <string>
#include <vector>

// One value of a record as a form shows it: the value's name id (a field of the record's table),
// the control's id, the form's pointer to that control and the form's member that holds the
// value. A combo box or read-only edit holds text, a check box a state; the other pointers are
// null.
template <typename Form> struct SFormField {
    unsigned valueNameId;
    int controlId;
    IComboBox* Form::*combo;
    ICheckBox* Form::*check;
    IEdit* Form::*edit;
    std::string Form::*text;
    int Form::*state;
};

template <typename Form>
SFormField<Form> ComboField(unsigned valueNameId, int controlId, IComboBox* Form::*combo,
                            std::string Form::*text) {
    return {valueNameId, controlId, combo, nullptr, nullptr, text, nullptr};
}

template <typename Form>
SFormField<Form> CheckField(unsigned valueNameId, int controlId, ICheckBox* Form::*check,
                            int Form::*state) {
    return {valueNameId, controlId, nullptr, check, nullptr, nullptr, state};
}

template <typename Form>
SFormField<Form> EditField(unsigned valueNameId, int controlId, IEdit* Form::*edit,
                           std::string Form::*text) {
    return {valueNameId, controlId, nullptr, nullptr, edit, text, nullptr};
}

// The field named by valueNameId; null when the form shows no such value.
template <typename Form>
const SFormField<Form>* FindFormField(const std::vector<SFormField<Form>>& fields,
                                      unsigned valueNameId) {
    for (const auto& field : fields) {
        if (field.valueNameId == valueNameId) {
            return &field;
        }
    }
    return nullptr;
}

// Points each field's control member at its control in dialog.
template <typename Form>
void BindControls(Form& form, IDialog& dialog, const std::vector<SFormField<Form>>& fields) {
    for (const auto& field : fields) {
        if (field.combo != nullptr) {
            form.*field.combo = dialog.ComboBox(field.controlId);
        } else if (field.check != nullptr) {
            form.*field.check = dialog.CheckBox(field.controlId);
        } else {
            form.*field.edit = dialog.Edit(field.controlId);
        }
    }
}

// Enables a list or check box, or disables it with the reason a person is told.
template <typename Control>
void EnableOrSayWhy(Control& control, bool enabled, const std::string& whyNot) {
    control.SetDisabledReason(enabled ? std::string() : whyNot);
    control.EnableWindow(enabled);
}

// Turns off each control of the form that makes a choice (its lists and check boxes): on a
// registry that cannot be written no choice could be kept.
template <typename Form>
void DisableChoices(Form& form, const std::vector<SFormField<Form>>& fields) {
    const std::string why = "the registry file cannot be written";
    for (const auto& field : fields) {
        if (field.combo != nullptr) {
            EnableOrSayWhy(*(form.*field.combo), false, why);
        } else if (field.check != nullptr) {
            EnableOrSayWhy(*(form.*field.check), false, why);
        }
    }
}

inline void Exchange(bool save, IComboBox& combo, std::string& member) {
    if (save) {
        member = combo.GetWindowText();
    } else {
        combo.ShowValue(member);
    }
}

inline void Exchange(bool save, ICheckBox& check, int& member) {
    if (save) {
        member = check.GetCheck();
    } else {
        check.SetCheck(member);
    }
}

inline void Exchange(bool save, IEdit& edit, std::string& member) {
    if (save) {
        member = edit.GetWindowText();
    } else {
        edit.SetWindowText(member);
    }
}

// save: controls into members, in the fields' order; otherwise members into controls.
template <typename Form>
void ExchangeFields(Form& form, bool save, const std::vector<SFormField<Form>>& fields) {
    for (const auto& field : fields) {
        if (field.check != nullptr) {
            Exchange(save, *(form.*field.check), form.*field.state);
        } else if (field.combo != nullptr) {
            Exchange(save, *(form.*field.combo), form.*field.text);
        } else {
            Exchange(save, *(form.*field.edit), form.*field.text);
        }
    }
}

// The form's members from a record: each field takes the record's value of the same name.
template <typename Form, typename Record>
void FillFromRecord(Form& form, const std::vector<SFormField<Form>>& fields, const Record& record,
                    const std::vector<SRecordField<Record>>& recordFields) {
    for (const auto& field : fields) {
        const SRecordField<Record>& value = *FindField(recordFields, field.valueNameId);
        if (field.state != nullptr) {
            form.*field.state = value.Number(record);
        } else {
            form.*field.text = value.Text(record);
        }
    }
}

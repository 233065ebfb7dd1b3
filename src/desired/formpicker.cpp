#include "formpicker.h"

#include "boardform.h"
#include "dialogtemplates.h"
#include "headlessdialog.h"
#include "headlesssession.h"
#include "portform.h"
#include "recordfields.h"
#include "stringtable.h"

#include <algorithm>
#include <optional>
#include <strings.h>

namespace {
bool SameText(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : ", ") + text;
    }
    return joined.empty() ? "nothing" : joined;
}

// The entry a person means: the exact text, else the one entry equal without regard to case.
std::string EntryFor(const std::vector<std::string>& entries, const std::string& value) {
    if (std::find(entries.begin(), entries.end(), value) != entries.end()) {
        return value;
    }
    auto found = std::find_if(entries.begin(), entries.end(), [&value](const std::string& entry) {
        return SameText(entry, value);
    });
    return found == entries.end() ? value : *found;
}

std::optional<int> CheckStateOf(const std::string& value) {
    if (value == "1" || SameText(value, "on")) {
        return 1;
    }
    if (value == "0" || SameText(value, "off")) {
        return 0;
    }
    return std::nullopt;
}

// The record's values that the form offers a choice for (a list or a check box), in their
// shown order.
template <typename Field, typename Record, typename Form>
std::vector<Field> ChoicesOf(const std::vector<SRecordField<Record>>& recordFields,
                             const std::vector<SFormField<Form>>& formFields) {
    std::vector<Field> choices;
    for (const SRecordField<Record>* value : FieldsAsShown(recordFields)) {
        const SFormField<Form>* shown = FindFormField(formFields, value->valueNameId);
        if (shown != nullptr && (shown->combo != nullptr || shown->check != nullptr)) {
            choices.push_back({value->valueNameId, shown->controlId});
        }
    }
    return choices;
}
} // namespace

const std::vector<CFormPicker::SField>& CFormPicker::Fields() const {
    static const auto board = ChoicesOf<SField>(BoardFields(), CBoardForm::Fields());
    static const auto port = ChoicesOf<SField>(PortFields(), CPortForm::Fields());
    return m_session.Doc().m_selectionKind == CQSERDoc::kSelectionPort ? port : board;
}

CHeadlessDialog* CFormPicker::Page() const {
    int kind = m_session.Doc().m_selectionKind;
    if (kind != CQSERDoc::kSelectionBoard && kind != CQSERDoc::kSelectionPort) {
        return nullptr;
    }
    return m_session.Dialog(kind == CQSERDoc::kSelectionPort ? CDialogTemplates::PortForm().id
                                                             : CDialogTemplates::BoardForm().id);
}

std::string CFormPicker::ItemKind() const {
    return m_session.Doc().m_selectionKind == CQSERDoc::kSelectionPort ? "port" : "board";
}

const CFormPicker::SField* CFormPicker::FindField(const std::string& name) const {
    const std::vector<SField>& fields = Fields();
    auto found = std::find_if(fields.begin(), fields.end(), [&name](const SField& field) {
        return SameText(LoadString(field.valueNameId), name);
    });
    return found == fields.end() ? nullptr : &*found;
}

bool CFormPicker::IsEnabled(const SField& field) const {
    CHeadlessDialog* page = Page();
    if (CHeadlessComboBox* combo = page->HeadlessComboBox(field.controlId)) {
        return combo->IsWindowEnabled();
    }
    CHeadlessCheckBox* check = page->HeadlessCheckBox(field.controlId);
    return check != nullptr && check->IsWindowEnabled();
}

std::vector<std::string> CFormPicker::SettingNames() const {
    std::vector<std::string> names;
    for (const SField& field : Fields()) {
        names.push_back(LoadString(field.valueNameId));
    }
    return names;
}

std::vector<std::string> CFormPicker::Offered(const std::string& name) const {
    const SField* field = FindField(name);
    CHeadlessDialog* page = Page();
    if (field == nullptr || page == nullptr) {
        return {};
    }
    if (CHeadlessComboBox* combo = page->HeadlessComboBox(field->controlId)) {
        return combo->Entries();
    }
    return {"0", "1"};
}

std::string CFormPicker::FieldNames(bool enabledOnly) const {
    std::vector<std::string> names;
    for (const SField& field : Fields()) {
        if (!enabledOnly || IsEnabled(field)) {
            names.push_back(LoadString(field.valueNameId));
        }
    }
    return Joined(names);
}

std::optional<std::string> CFormPicker::PickAll(const std::vector<std::string>& picks) {
    for (const std::string& pick : picks) {
        std::size_t equals = pick.find('=');
        if (equals == std::string::npos || equals == 0) {
            return "'" + pick + "' is not NAME=VALUE";
        }
        if (Refusal refusal = Pick(pick.substr(0, equals), pick.substr(equals + 1))) {
            return refusal;
        }
    }
    return std::nullopt;
}

std::optional<std::string> CFormPicker::Pick(const std::string& asked, const std::string& value) {
    std::string name = asked;
    const SField* field = FindField(name);
    CHeadlessDialog* page = Page();
    if (field == nullptr || page == nullptr) {
        return name + " is not a setting of a " + ItemKind() +
               "; the settings are: " + FieldNames(false);
    }
    name = LoadString(field->valueNameId);
    if (CHeadlessComboBox* combo = page->HeadlessComboBox(field->controlId)) {
        return PickEntry(name, *combo, value);
    }
    return PickState(name, *page->HeadlessCheckBox(field->controlId), value);
}

CFormPicker::Refusal CFormPicker::Disabled(const std::string& name) const {
    return name + " is disabled for this " + ItemKind() + "; settable now: " + FieldNames(true);
}

CFormPicker::Refusal CFormPicker::PickEntry(const std::string& name, CHeadlessComboBox& combo,
                                            const std::string& value) const {
    std::string entry = EntryFor(combo.Entries(), value);
    switch (combo.Pick(entry)) {
    case EPickResult::Disabled:
        return Disabled(name);
    case EPickResult::NotOffered:
        return name + ": " + value + " is not offered; offered: " + Joined(combo.Entries());
    case EPickResult::Done:
        break;
    }
    // The form may turn a choice down and show the old value again (a model change while the
    // board has ports); its message has said why.
    if (combo.GetWindowText() != entry) {
        return name + ": " + value + " was not taken; it stays " + combo.GetWindowText();
    }
    return std::nullopt;
}

CFormPicker::Refusal CFormPicker::PickState(const std::string& name, CHeadlessCheckBox& check,
                                            const std::string& value) const {
    std::optional<int> wanted = CheckStateOf(value);
    if (!wanted) {
        return name + " takes 0 or 1 (also off or on), not '" + value + "'";
    }
    // A click toggles: a box already in the asked state is left alone.
    if (check.GetCheck() == *wanted) {
        return std::nullopt;
    }
    if (check.Click() == EPickResult::Disabled) {
        return Disabled(name);
    }
    if (check.GetCheck() != *wanted) {
        return name + ": " + value + " was not taken";
    }
    return std::nullopt;
}

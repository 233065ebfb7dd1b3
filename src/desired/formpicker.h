#pragma once

#include <optional>
#include <string>
#include <vector>

class CHeadlessCheckBox;
class CHeadlessComboBox;
class CHeadlessDialog;
class CHeadlessSession;

// Applies NAME=VALUE picks to the form of the selected board or port, each exactly as a
// person's choice in the window: the value must be an entry of the control's list (matched
// without regard to case) and the control must be enabled. NAME is the registry value name of
// the field, matched without regard to case. A check box takes 0/1 or off/on and is clicked
// only when it is not already in the asked state.
class CFormPicker {
public:
    explicit CFormPicker(CHeadlessSession& session) : m_session(session) {}

    // The picks in order; the first refused one ends the run with a reason that says why and
    // what is offered (nothing when every pick was taken).
    std::optional<std::string> PickAll(const std::vector<std::string>& picks);
    // One value as NAME and VALUE, the same as the pick NAME=VALUE.
    std::optional<std::string> Pick(const std::string& name, const std::string& value);

    // The registry value names of the settings of the selected item's form, in shown order.
    std::vector<std::string> SettingNames() const;
    // What a setting offers now: its list's entries, or "0" and "1" for a check box; nothing
    // for a name that is not a setting.
    std::vector<std::string> Offered(const std::string& name) const;

private:
    struct SField {
        unsigned valueNameId;
        int controlId;
    };

    using Refusal = std::optional<std::string>;

    Refusal PickEntry(const std::string& name, CHeadlessComboBox& combo,
                      const std::string& value) const;
    Refusal PickState(const std::string& name, CHeadlessCheckBox& check,
                      const std::string& value) const;
    Refusal Disabled(const std::string& name) const;
    const std::vector<SField>& Fields() const;
    const SField* FindField(const std::string& name) const;
    bool IsEnabled(const SField& field) const;
    std::string FieldNames(bool enabledOnly) const;
    std::string ItemKind() const;
    CHeadlessDialog* Page() const;

    CHeadlessSession& m_session;
};

#pragma once

class IComboBox;
class ICheckBox;
class IEdit;

// One form page built from a dialog template: its controls by id, and the page itself as the
// form view shows, hides and enables it. A control of the wrong kind or an unknown id gives null.
class IDialog {
public:
    virtual ~IDialog() = default;
    virtual IComboBox* ComboBox(int id) = 0;
    virtual ICheckBox* CheckBox(int id) = 0;
    virtual IEdit* Edit(int id) = 0;
    virtual void ShowWindow(bool visible) = 0;
    virtual bool IsWindowVisible() const = 0;
    virtual void EnableWindow(bool enabled) = 0;
    virtual bool IsWindowEnabled() const = 0;
};

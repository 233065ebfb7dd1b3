#pragma once

#include "pickresult.h"

#include <functional>
#include <string>

// A combo box as the forms use it. Only choosing a list entry changes anything: the activated
// handler runs after a person (or a headless pick) chose an entry, never for typed text and
// never when a program changes the selection.
class IComboBox {
public:
    virtual ~IComboBox() = default;

    virtual void ResetContent() = 0;
    virtual int AddString(const std::string& text) = 0;
    virtual int GetCount() const = 0;
    virtual std::string GetLBText(int index) const = 0;
    // -1 when no entry is selected.
    virtual int GetCurSel() const = 0;
    virtual void SetCurSel(int index) = 0;
    // The text the box shows: the selected entry, or an editable box's own text.
    virtual std::string GetWindowText() const = 0;
    // Shows a value: selects the entry equal to text, ignoring case; when there is none, an
    // editable box shows the text itself and a fixed list shows no selection.
    virtual void ShowValue(const std::string& text) = 0;

    virtual void EnableWindow(bool enabled) = 0;
    virtual bool IsWindowEnabled() const = 0;
    // Why the control is disabled, in a few words a person is told while it is ("set by the
    // board's shared interrupt"); kept until the next reason is given.
    virtual void SetDisabledReason(const std::string& reason) = 0;

    virtual void SetActivatedHandler(std::function<void()> handler) = 0;
    // A person's choice of the entry equal to text: selects it and runs the activated handler.
    // Refused for a disabled box or a text that is not an entry; nothing changes then.
    virtual EPickResult Pick(const std::string& text) = 0;
};

#pragma once

#include "pickresult.h"

#include <functional>
#include <string>

// A check box as the forms use it. The clicked handler runs after a person (or a headless click)
// toggled the box, never when a program sets its state.
class ICheckBox {
public:
    virtual ~ICheckBox() = default;
    virtual int GetCheck() const = 0;
    virtual void SetCheck(int state) = 0;
    virtual void EnableWindow(bool enabled) = 0;
    virtual bool IsWindowEnabled() const = 0;
    // Why the control is disabled, in a few words a person is told while it is ("set by the
    // board's shared interrupt"); kept until the next reason is given.
    virtual void SetDisabledReason(const std::string& reason) = 0;
    virtual void SetClickedHandler(std::function<void()> handler) = 0;
    // A person's click: toggles the box and runs the clicked handler; refused while the box is
    // disabled.
    virtual EPickResult Click() = 0;
};

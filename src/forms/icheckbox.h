#pragma once

#include <functional>

// A check box as the forms use it. The clicked handler runs after a person (or a headless click)
// toggled the box, never when a program sets its state.
class ICheckBox {
public:
    virtual ~ICheckBox() = default;
    virtual int GetCheck() const = 0;
    virtual void SetCheck(int state) = 0;
    virtual void EnableWindow(bool enabled) = 0;
    virtual bool IsWindowEnabled() const = 0;
    virtual void SetClickedHandler(std::function<void()> handler) = 0;
};

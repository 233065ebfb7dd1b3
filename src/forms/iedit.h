#pragma once

#include <string>

// A read-only text field.
class IEdit {
public:
    virtual ~IEdit() = default;
    virtual void SetWindowText(const std::string& text) = 0;
    virtual std::string GetWindowText() const = 0;
};

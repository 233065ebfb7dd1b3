#pragma once

#include "iedit.h"

class CHeadlessEdit : public IEdit {
public:
    void SetWindowText(const std::string& text) override { m_text = text; }
    std::string GetWindowText() const override { return m_text; }

private:
    std::string m_text;
};

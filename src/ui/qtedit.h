#pragma once

#include "iedit.h"

class QLineEdit;

// A read-only QLineEdit; the widget belongs to its page. Shows the start of a long text.
class CQtEdit : public IEdit {
public:
    explicit CQtEdit(QLineEdit& edit);

    void SetWindowText(const std::string& text) override;
    std::string GetWindowText() const override;

private:
    QLineEdit& m_edit;
};

#include "qtedit.h"

#include "latin1text.h"

#include <QLineEdit>

CQtEdit::CQtEdit(QLineEdit& edit) : m_edit(edit) {
    m_edit.setReadOnly(true);
}

void CQtEdit::SetWindowText(const std::string& text) {
    m_edit.setText(CLatin1Text::ToQt(text));
    m_edit.setCursorPosition(0);
}

std::string CQtEdit::GetWindowText() const {
    return CLatin1Text::FromQt(m_edit.text());
}

#pragma once

#include "imessagebox.h"

// The message boxes while a stated configuration is applied: the plan has said what goes, so
// each question (the deletes' "Continue?") is answered Yes without being shown; the other boxes
// reach the given one, the notices only when not quiet (a dry run, whose Save notices would
// tell of a save that does not happen).
class CConsentingMessageBox : public IMessageBox {
public:
    CConsentingMessageBox(IMessageBox& inner, bool quiet) : m_inner(inner), m_bQuiet(quiet) {}

    EMsgResult Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) override;

private:
    IMessageBox& m_inner;
    bool m_bQuiet;
};

#pragma once

#include "imessagebox.h"

#include <iosfwd>
#include <string>

// The message boxes of a command-line session: each box is printed as one line on standard
// error (line breaks of its text shown as a space). A question is answered Yes when the person
// said --yes, by the person when standard input is a terminal, and No otherwise; the answer
// is printed after the question so that a log shows what was decided.
class CCliMessageBox : public IMessageBox {
public:
    CCliMessageBox(bool assumeYes, bool interactive, std::istream& in, std::ostream& err);

    EMsgResult Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) override;

    // An OK box without an icon (the system's error messages) was shown.
    bool ErrorShown() const { return m_bErrorShown; }
    // A question was answered No.
    bool Declined() const { return m_bDeclined; }

    static std::string OneLine(const std::string& text);

private:
    EMsgResult Ask(const std::string& line);
    bool ReadAnswer();

    bool m_bAssumeYes;
    bool m_bInteractive;
    std::istream& m_in;
    std::ostream& m_err;
    bool m_bErrorShown = false;
    bool m_bDeclined = false;
};

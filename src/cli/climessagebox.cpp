#include "climessagebox.h"

#include <algorithm>
#include <istream>
#include <ostream>

namespace {
constexpr const char* kQuestionSuffix = " [y/N] ";
} // namespace

CCliMessageBox::CCliMessageBox(bool assumeYes, bool interactive, std::istream& in,
                               std::ostream& err)
    : m_bAssumeYes(assumeYes), m_bInteractive(interactive), m_in(in), m_err(err) {}

std::string CCliMessageBox::OneLine(const std::string& text) {
    std::string line = text;
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return line;
}

EMsgResult CCliMessageBox::Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) {
    std::string line = OneLine(text);
    if (buttons == EMsgButtons::YesNo) {
        return Ask(line);
    }
    if (icon == EMsgIcon::None) {
        m_bErrorShown = true;
    }
    m_err << line << '\n' << std::flush;
    return EMsgResult::Ok;
}

EMsgResult CCliMessageBox::Ask(const std::string& line) {
    m_err << line << kQuestionSuffix;
    bool yes = false;
    if (m_bAssumeYes) {
        yes = true;
        m_err << "y\n";
    } else if (m_bInteractive) {
        m_err << std::flush;
        yes = ReadAnswer();
    } else {
        m_err << "n\n";
    }
    m_err << std::flush;
    if (!yes) {
        m_bDeclined = true;
    }
    return yes ? EMsgResult::Yes : EMsgResult::No;
}

bool CCliMessageBox::ReadAnswer() {
    std::string answer;
    if (!std::getline(m_in, answer)) {
        m_err << '\n';
        return false;
    }
    auto first = std::find_if(answer.begin(), answer.end(), [](char c) { return c != ' '; });
    return first != answer.end() && (*first == 'y' || *first == 'Y');
}

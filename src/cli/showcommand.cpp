#include "showcommand.h"

#include "clisession.h"
#include "configurationreport.h"
#include "headlesssession.h"
#include "hivepath.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <string_view>

namespace {
// Names come from the registry file, which anyone may have edited: a control character in one
// must not reach the terminal as it is.
std::string PrintableLines(const std::string& text) {
    std::string printable;
    printable.reserve(text.size());
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        printable += CHivePath::Printable(std::string_view(text).substr(start, end - start), true);
        printable += '\n';
        start = end + 1;
    }
    return printable;
}
} // namespace

void CShowCommand::Register(CLI::App& app) {
    m_pShow = app.add_subcommand("show", "Print the configuration as loaded at start-up");
    m_pShow->add_flag("--json", m_bJson, "print one JSON object instead of an indented tree");
}

bool CShowCommand::Parsed() const {
    return m_pShow->parsed();
}

ECliExit CShowCommand::Run(CCliEnvironment& environment) {
    return CCliSession::Run(
        environment, EBatchEnd::Discard, ESessionEnd::Leave, [this](CHeadlessSession& session) {
            return SCliResult::Output(
                m_bJson ? CConfigurationReport::Json(session.Doc()).dump(2) + "\n"
                        : PrintableLines(CConfigurationReport::Text(session.Doc())));
        });
}

#include "showcommand.h"

#include "clisession.h"
#include "configurationreport.h"
#include "headlesssession.h"
#include "hivepath.h"

#include <CLI/CLI.hpp>
#include <sstream>

namespace {
// Names come from the registry file, which anyone may have edited: a control character in one
// must not reach the terminal as it is.
std::string PrintableLines(const std::string& text) {
    std::istringstream lines(text);
    std::string printable;
    for (std::string line; std::getline(lines, line);) {
        printable += CHivePath::Printable(line, true) + "\n";
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
            nlohmann::ordered_json report = CConfigurationReport::Json(session.Doc());
            return SCliResult::Output(m_bJson ? report.dump(2) + "\n"
                                              : PrintableLines(CConfigurationReport::Text(report)));
        });
}

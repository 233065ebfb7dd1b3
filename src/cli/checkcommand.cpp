#include "checkcommand.h"

#include "clienvironment.h"
#include "hivetext.h"
#include "resourcecheck.h"

#include <CLI/CLI.hpp>

namespace {
std::string Counted(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}
} // namespace

void CCheckCommand::Register(CLI::App& app) {
    m_pCheck = app.add_subcommand(
        "check", "Check the configuration for conflicting I/O addresses, interrupts and COM "
                 "names (exit status 4 when it finds errors)");
    m_pCheck->add_flag("--json", m_bJson, "print one JSON object instead of lines");
}

bool CCheckCommand::Parsed() const {
    return m_pCheck->parsed();
}

ECliExit CCheckCommand::Run(CCliEnvironment& environment) {
    int errors = 0;
    const ECliExit status = environment.RunBatch(EBatchEnd::Discard, [this, &errors] {
        const std::vector<SCheckFinding> findings = CResourceCheck::RunOnRegistry();
        errors = CResourceCheck::Count(findings, ECheckSeverity::Error);
        return SCliResult::Output(m_bJson ? Json(findings).dump(2) + "\n" : Text(findings));
    });
    return status == ECliExit::Success && errors > 0 ? ECliExit::Problems : status;
}

nlohmann::ordered_json CCheckCommand::Json(const std::vector<SCheckFinding>& findings) {
    nlohmann::ordered_json json;
    json["findings"] = nlohmann::ordered_json::array();
    for (const SCheckFinding& finding : findings) {
        nlohmann::ordered_json entry;
        entry["severity"] = CheckSeverityName(finding.severity);
        entry["code"] = CheckCodeName(finding.code);
        entry["items"] = nlohmann::ordered_json::array();
        for (const std::string& item : finding.items) {
            entry["items"].push_back(CHiveText::ToUtf8(item));
        }
        entry["message"] = CHiveText::ToUtf8(finding.message);
        json["findings"].push_back(std::move(entry));
    }
    json["errors"] = CResourceCheck::Count(findings, ECheckSeverity::Error);
    json["warnings"] = CResourceCheck::Count(findings, ECheckSeverity::Warning);
    return json;
}

std::string CCheckCommand::Text(const std::vector<SCheckFinding>& findings) {
    std::string text;
    for (const SCheckFinding& finding : findings) {
        text += std::string(CheckSeverityName(finding.severity)) + " " +
                CheckCodeName(finding.code) + ": " + CHiveText::ToUtf8(finding.message) + "\n";
        for (const std::string& item : finding.items) {
            text += "  " + CHiveText::ToUtf8(item) + "\n";
        }
    }
    return text + Counted(CResourceCheck::Count(findings, ECheckSeverity::Error), "error") + ", " +
           Counted(CResourceCheck::Count(findings, ECheckSeverity::Warning), "warning") + "\n";
}

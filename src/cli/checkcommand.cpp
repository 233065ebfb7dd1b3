#include "checkcommand.h"

#include "checkreport.h"
#include "clienvironment.h"
#include "hivetext.h"
#include "resourcecheck.h"

#include <CLI/CLI.hpp>

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
        return SCliResult::Output(m_bJson ? Json(findings).dump(2) + "\n"
                                          : CCheckReport::Text(findings));
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

#include "checkcommand.h"

#include "checkfixer.h"
#include "checkreport.h"
#include "clienvironment.h"
#include "clisession.h"
#include "headlesssession.h"
#include "hivetext.h"
#include "resourcecheck.h"

#include <CLI/CLI.hpp>

void CCheckCommand::Register(CLI::App& app) {
    m_pCheck = app.add_subcommand(
        "check", "Check the configuration for conflicting I/O addresses, interrupts and COM "
                 "names (exit status 4 when it finds errors)");
    m_pCheck->add_flag("--json", m_bJson, "print one JSON object instead of lines");
    CLI::Option* fix = m_pCheck->add_flag(
        "--fix", m_bFix,
        "first make every fix the window offers (next free base address, next free COM names, "
        "share the interrupt) as its picks, and print each");
    m_pCheck->add_flag("--dry-run", m_bDryRun, "with --fix: change nothing")->needs(fix);
}

bool CCheckCommand::Parsed() const {
    return m_pCheck->parsed();
}

ECliExit CCheckCommand::Run(CCliEnvironment& environment) {
    if (m_bFix) {
        return RunFixes(environment);
    }
    int errors = 0;
    const ECliExit status = environment.RunBatch(EBatchEnd::Discard, [this, &errors] {
        const std::vector<SCheckFinding> findings = CResourceCheck::RunOnRegistry();
        errors = CResourceCheck::Count(findings, ECheckSeverity::Error);
        return SCliResult::Output(m_bJson ? Json(findings).dump(2) + "\n"
                                          : CCheckReport::Text(findings));
    });
    return status == ECliExit::Success && errors > 0 ? ECliExit::Problems : status;
}

ECliExit CCheckCommand::RunFixes(CCliEnvironment& environment) {
    int errors = 0;
    const ECliExit status = CCliSession::Run(
        environment, m_bDryRun ? EBatchEnd::Discard : EBatchEnd::Keep,
        m_bDryRun ? ESessionEnd::Leave : ESessionEnd::Close,
        [this, &errors](CHeadlessSession& session) {
            const std::vector<SCheckFix> fixes = CCheckFixer(session.Configuration()).ApplyAll();
            const std::vector<SCheckFinding> findings = CResourceCheck::RunOnRegistry();
            errors = CResourceCheck::Count(findings, ECheckSeverity::Error);
            if (!m_bJson) {
                return SCliResult::Output(FixesText(fixes, m_bDryRun) +
                                          CCheckReport::Text(findings));
            }
            nlohmann::ordered_json json = Json(findings);
            json["fixed"] = nlohmann::ordered_json::array();
            for (const SCheckFix& fix : fixes) {
                json["fixed"].push_back(CHiveText::ToUtf8(fix.label));
            }
            return SCliResult::Output(json.dump(2) + "\n");
        });
    return status == ECliExit::Success && errors > 0 ? ECliExit::Problems : status;
}

std::string CCheckCommand::FixesText(const std::vector<SCheckFix>& fixes, bool dryRun) {
    std::string text;
    for (const SCheckFix& fix : fixes) {
        text += (dryRun ? "would fix: " : "fixed: ") + CHiveText::ToUtf8(fix.label) + "\n";
    }
    return text;
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

#include "desiredstatecommands.h"

#include "checkcommand.h"
#include "checkreport.h"
#include "clienvironment.h"
#include "configurationsource.h"
#include "consentingmessagebox.h"
#include "desiredstateaction.h"
#include "hivepath.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace {
using Json = nlohmann::ordered_json;

constexpr const char* kSourceHelp =
    "a registry file, a Windows SYSTEM hive file, a .reg file or a configuration file as show "
    "--json prints it (recognised by its content)";

std::string Printed(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += CHivePath::Printable(line, true) + "\n";
    }
    return text;
}

std::string Dumped(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
} // namespace

void CDesiredStateCommands::Register(CLI::App& app) {
    m_pDiff = app.add_subcommand(
        "diff", "Compare two configurations: boards and ports in one only, values that differ "
                "(exit status 5 when they differ)");
    m_pDiff->add_option("A", m_from, kSourceHelp)->required();
    m_pDiff->add_option("B", m_to, "the same kinds as A")->required();
    m_pDiff->add_flag("--json", m_bJson, "print {\"equal\": ..., \"differences\": [...]}");
    m_pDiff->add_flag("--all", m_bAll,
                      "also compare the values of the machine: instance names (PortSerialPort), "
                      "the counters and the driver's name");

    m_pApply = app.add_subcommand(
        "apply", "Make the registry's configuration equal to SOURCE's as one user action, "
                 "through the same commands a person uses, then Save and close");
    m_pApply->add_option("SOURCE", m_source, kSourceHelp)->required();
    m_pApply->add_flag("--dry-run", m_bDryRun, "print the plan and write nothing");
    m_pApply->add_flag("--json", m_bJson,
                       "print one JSON object: changed, changes, registry, findings, restart");
    m_pApply->add_flag("--detailed-exitcode", m_bDetailedExitCode,
                       "exit status 0 when nothing needs changing, 5 when it changed (or would)");
    m_pApply->add_flag("--allow-problems", m_bAllowProblems,
                       "apply even when the resource check finds errors in the result");
}

bool CDesiredStateCommands::Parsed() const {
    return m_pDiff->parsed() || m_pApply->parsed();
}

bool CDesiredStateCommands::Writes() const {
    return m_pApply->parsed() && !m_bDryRun;
}

bool CDesiredStateCommands::UsesRegistry(EPlatformFamily /*family*/) const {
    return !m_pDiff->parsed();
}

ECliExit CDesiredStateCommands::RunAlone(const SCliPlatform& platform, std::ostream& out,
                                         std::ostream& err) {
    Json from;
    Json to;
    try {
        from = CConfigurationSource::Read(m_from, platform.family);
        to = CConfigurationSource::Read(m_to, platform.family);
    } catch (const CSourceError& error) {
        err << "qserctl: " << error.what() << '\n';
        return error.Refused() ? ECliExit::Refused : ECliExit::Failed;
    }
    const std::vector<SConfigurationDifference> diffs =
        CConfigurationDiff::Compare(from, to, m_bAll ? EDiffScope::All : EDiffScope::Configuration);
    if (m_bJson) {
        Json json;
        json["equal"] = diffs.empty();
        json["differences"] = CConfigurationDiff::ToJson(diffs);
        out << Dumped(json);
    } else {
        out << Printed(CConfigurationDiff::Lines(diffs));
    }
    out << std::flush;
    return diffs.empty() ? ECliExit::Success : ECliExit::Changed;
}

ECliExit CDesiredStateCommands::Run(CCliEnvironment& environment) {
    Json desired;
    try {
        desired = CConfigurationSource::Read(m_source, *environment.References().platformFamily);
    } catch (const CSourceError& error) {
        environment.Error(error.what());
        return error.Refused() ? ECliExit::Refused : ECliExit::Failed;
    }
    // A dry run's Save tells of a save that does not happen: its notices, which appear when the
    // action has ended, are left out.
    CConsentingMessageBox messages(**environment.References().messageBox, m_bDryRun);
    const CProcessScope quiet({.messageBox = &messages});
    SApplyReport report;
    const ECliExit status =
        environment.RunBatch(m_bDryRun ? EBatchEnd::Discard : EBatchEnd::Keep, [&] {
            report = CDesiredStateAction::Run(
                environment.References(), desired,
                {.bDryRun = m_bDryRun, .bAllowProblems = m_bAllowProblems});
            if (report.bLoadFailed) {
                return SCliResult::Fail();
            }
            if (report.refusal) {
                return SCliResult::Refuse(*report.refusal);
            }
            SCliResult result =
                SCliResult::Output(m_bJson ? Dumped(ApplyJson(report)) : ApplyText(report));
            result.bKeep = report.Keep();
            return result;
        });
    if (status != ECliExit::Success) {
        return status;
    }
    if (report.bHeldBack) {
        return ECliExit::Problems;
    }
    return m_bDetailedExitCode && report.bChanged ? ECliExit::Changed : ECliExit::Success;
}

std::string CDesiredStateCommands::ApplyText(const SApplyReport& report) const {
    std::string text = report.plan.empty() ? std::string("no changes\n")
                                           : Printed(CConfigurationDiff::Lines(report.plan));
    if (!report.findings.empty()) {
        text += CCheckReport::Text(report.findings);
    }
    if (report.bHeldBack) {
        text += "nothing was changed: the result has errors (--allow-problems applies it)\n";
    }
    return text;
}

Json CDesiredStateCommands::ApplyJson(const SApplyReport& report) const {
    Json json;
    json["changed"] = report.bChanged;
    json["dryRun"] = m_bDryRun;
    json["changes"] = CConfigurationDiff::ToJson(report.plan);
    json["registry"] = report.registryChanges;
    json["findings"] = CCheckCommand::Json(report.findings)["findings"];
    json["restart"] = CDesiredStateAction::RestartName(report.restart);
    return json;
}

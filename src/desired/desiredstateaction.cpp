#include "desiredstateaction.h"

#include "closesequence.h"
#include "configurationapplier.h"
#include "consentingmessagebox.h"
#include "headlesssession.h"
#include "hive.h"
#include "ownedkeyssnapshot.h"
#include "platformfamily.h"
#include "resourcecheck.h"

SApplyReport CDesiredStateAction::Run(const SProcessReferences& environment,
                                      const nlohmann::ordered_json& desired,
                                      const SApplyOptions& options) {
    SApplyReport report;
    CHive& hive = **environment.hive;
    const COwnedKeysSnapshot before = COwnedKeysSnapshot::Take(hive);
    CConsentingMessageBox consent(**environment.messageBox, options.bDryRun);
    SProcessReferences references = environment;
    references.messageBox = &consent;
    CHeadlessSession session(references);
    if (!session.Start()) {
        report.bLoadFailed = true;
        return report;
    }
    CConfigurationApplier applier(session, desired);
    report.plan = applier.Plan();
    if (report.plan.empty()) {
        return report;
    }
    report.refusal = applier.Apply();
    if (report.refusal) {
        return report;
    }
    report.findings = CResourceCheck::RunOnRegistry();
    if (!options.bAllowProblems &&
        CResourceCheck::Count(report.findings, ECheckSeverity::Error) > 0) {
        report.bHeldBack = true;
        return report;
    }
    if (!options.bLeaveOpen) {
        CCloseSequence::Run(&session.Doc());
    }
    const COwnedKeysSnapshot after = COwnedKeysSnapshot::Take(hive);
    report.registryChanges = COwnedKeysSnapshot::Changes(before, after);
    report.registryLines = COwnedKeysSnapshot::Lines(before, after);
    report.bChanged = true;
    report.restart = hive.IsWindowsHiveFile() ? ERestart::None
                     : IsWindows9x()          ? ERestart::Windows
                                              : ERestart::Service;
    return report;
}

const char* CDesiredStateAction::RestartName(ERestart restart) {
    switch (restart) {
    case ERestart::Service:
        return "service";
    case ERestart::Windows:
        return "windows";
    case ERestart::None:
        break;
    }
    return "none";
}

#include "applyconfiguration.h"

#include "appcontext.h"
#include "checkreport.h"
#include "configurationsourcefile.h"
#include "desiredstateaction.h"
#include "hive.h"
#include "hivebatch.h"
#include "messageservice.h"
#include "qserdoc.h"
#include "recordingmessagebox.h"
#include "reportdialog.h"
#include "undohistory.h"
#include "useraction.h"

#include <QFileInfo>

namespace {
using Json = nlohmann::ordered_json;

// The installed registry and message box; the apply's own session records no step of Undo and
// tells the window of no action of its own: the apply is one action.
SProcessReferences Installed() {
    return {.hive = CHive::Current(),
            .messageBox = CMessageService::Installed(),
            .actionObserver = nullptr,
            .undoHistory = nullptr};
}

// The apply made and rolled back, with every message of it kept from the person.
SApplyReport Trial(const Json& desired, std::vector<std::string>& heard) {
    CRecordingMessageBox messages;
    const CProcessScope quiet({.messageBox = &messages});
    SApplyReport report;
    {
        CUserAction trial;
        report =
            CDesiredStateAction::Run(Installed(), desired, {.bDryRun = true, .bLeaveOpen = true});
    }
    heard = messages.Texts();
    return report;
}

// Says why nothing is applied, when the registry could not be loaded or a value cannot be
// reached; heard: the messages of a load that were kept from the person.
bool Refused(const SApplyReport& report, const std::string& shown,
             const std::vector<std::string>& heard) {
    std::string reason;
    if (report.bLoadFailed) {
        for (const std::string& text : heard) {
            reason += "\n" + text;
        }
    } else if (report.refusal) {
        reason = "\n" + CConfigurationSourceFile::ForMessage(*report.refusal);
    } else {
        return false;
    }
    CMessageService::Error("Cannot apply " + shown + "; nothing was changed:" + reason);
    return true;
}

QString Plan(const SApplyReport& report) {
    QString text = QStringLiteral("Changes:\n");
    for (const std::string& line : CConfigurationDiff::Lines(report.plan)) {
        text += QStringLiteral("  ") + QString::fromStdString(line) + QLatin1Char('\n');
    }
    return text + QStringLiteral("\nResource check of the result:\n") +
           QString::fromStdString(CCheckReport::Text(report.findings));
}

// Shows the plan and asks; true when the person chose to apply, and whether despite errors.
bool Agreed(QWidget* parent, const QString& name, const SApplyReport& report, bool& anyway) {
    anyway = report.bHeldBack;
    const QString intro =
        anyway ? QStringLiteral("Applying %1 would leave the configuration with the errors "
                                "listed below. Nothing is changed unless you choose Apply "
                                "Anyway.")
                     .arg(name)
               : QStringLiteral("Applying %1 makes these changes, as one step that Undo takes "
                                "back. Apply them?")
                     .arg(name);
    CReportDialog dialog(
        parent, QStringLiteral("Apply Configuration"), intro, Plan(report),
        {.acceptText = anyway ? QStringLiteral("Apply &Anyway") : QStringLiteral("&Apply"),
         .bRisky = anyway});
    return dialog.exec() == QDialog::Accepted;
}
} // namespace

QString CApplyConfiguration::Apply(QWidget* parent, const QString& fileName) {
    const std::optional<Json> desired = CConfigurationSourceFile::Read(fileName);
    if (!desired) {
        return {};
    }
    const std::string shown = CConfigurationSourceFile::Shown(fileName);
    std::vector<std::string> heard;
    const SApplyReport trial = Trial(*desired, heard);
    if (Refused(trial, shown, heard)) {
        return {};
    }
    if (trial.plan.empty()) {
        CMessageService::Notice("The registry already holds the configuration of " + shown +
                                ": nothing to change.");
        return {};
    }
    bool anyway = false;
    if (!Agreed(parent, QFileInfo(fileName).fileName(), trial, anyway)) {
        return {};
    }
    SApplyReport report;
    const bool kept = CUndoHistory::Run(kUndoName, [&] {
        // An inner batch that ends without Commit() takes the whole action back with it.
        CHiveBatch inner;
        report = CDesiredStateAction::Run(Installed(), *desired,
                                          {.bAllowProblems = anyway, .bLeaveOpen = true});
        // Only another program's change since the trial can make this differ from it.
        if (Refused(report, shown, {}) || !report.Keep()) {
            return;
        }
        inner.Commit();
        // The records follow the registry; the views are not told of another program.
        if (CQSERDoc* doc = CAppContext::ActiveDocument()) {
            doc->ReloadConfiguration(EReloadCause::UnwrittenAction);
            doc->m_bConfigChanged = 1;
        }
    });
    if (!kept || !report.Keep()) {
        return {};
    }
    return QStringLiteral("Applied %1: %2")
        .arg(QFileInfo(fileName).fileName(),
             QString::fromStdString(report.registryLines.empty() ? std::string()
                                                                 : report.registryLines.back()));
}

#include "processscope.h"

#include "appcontext.h"
#include "hive.h"
#include "messageservice.h"
#include "platformservices.h"
#include "undohistory.h"
#include "useraction.h"

namespace {
// The present value of a reference, in the field's place, when the field is wanted.
template <typename T, typename Getter>
std::optional<T> IfWanted(const std::optional<T>& wanted, Getter current) {
    return wanted.has_value() ? std::optional<T>(current()) : std::nullopt;
}

template <typename T, typename Setter> void IfGiven(const std::optional<T>& value, Setter set) {
    if (value.has_value()) {
        set(*value);
    }
}
} // namespace

CProcessScope::CProcessScope(const SProcessReferences& references)
    : m_previous(Installed(references)) {
    Install(references);
}

CProcessScope::~CProcessScope() {
    Install(m_previous);
}

SProcessReferences CProcessScope::Installed(const SProcessReferences& wanted) {
    return {
        IfWanted(wanted.hive, &CHive::Current),
        IfWanted(wanted.messageBox, &CMessageService::Installed),
        IfWanted(wanted.serviceControlManager, &CPlatformServices::ServiceControlManager),
        IfWanted(wanted.helpRequest, &CPlatformServices::HelpRequest),
        IfWanted(wanted.rootFileSystem, &CPlatformServices::RootFileSystem),
        IfWanted(wanted.platformFamily, &CPlatformFamily::Get),
        IfWanted(wanted.activeDocument, &CAppContext::ActiveDocument),
        IfWanted(wanted.treeNodeManager, &CAppContext::TreeNodeManager),
        IfWanted(wanted.treeControl, &CAppContext::TreeControl),
        IfWanted(wanted.actionObserver, &CUserAction::Observer),
        IfWanted(wanted.undoHistory, &CUndoHistory::Current),
    };
}

void CProcessScope::Install(const SProcessReferences& references) {
    IfGiven(references.hive, &CHive::SetCurrent);
    IfGiven(references.messageBox, &CMessageService::Install);
    IfGiven(references.serviceControlManager, &CPlatformServices::SetServiceControlManager);
    IfGiven(references.helpRequest, &CPlatformServices::SetHelpRequest);
    IfGiven(references.rootFileSystem, &CPlatformServices::SetRootFileSystem);
    IfGiven(references.platformFamily, &CPlatformFamily::Set);
    IfGiven(references.activeDocument, &CAppContext::SetActiveDocument);
    IfGiven(references.treeNodeManager, &CAppContext::SetTreeNodeManager);
    IfGiven(references.treeControl, &CAppContext::SetTreeControl);
    IfGiven(references.actionObserver, &CUserAction::SetObserver);
    IfGiven(references.undoHistory, &CUndoHistory::SetCurrent);
}

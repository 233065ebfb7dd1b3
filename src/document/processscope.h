#pragma once

#include "platformfamily.h"

#include <optional>

class CHive;
class CQSERDoc;
class CTreeNodeManagerBase;
class IHelpRequest;
class IMessageBox;
class IRootFileSystem;
class IServiceControlManager;
class ITreeControl;
class IUserActionObserver;
class CUndoHistory;

// The process-wide references the layers reach without being handed them. A field without a
// value is left as it is; a field holding nullptr uninstalls that reference.
struct SProcessReferences {
    std::optional<CHive*> hive = std::nullopt;
    std::optional<IMessageBox*> messageBox = std::nullopt;
    std::optional<IServiceControlManager*> serviceControlManager = std::nullopt;
    std::optional<IHelpRequest*> helpRequest = std::nullopt;
    std::optional<IRootFileSystem*> rootFileSystem = std::nullopt;
    std::optional<EPlatformFamily> platformFamily = std::nullopt;
    std::optional<CQSERDoc*> activeDocument = std::nullopt;
    std::optional<CTreeNodeManagerBase*> treeNodeManager = std::nullopt;
    std::optional<ITreeControl*> treeControl = std::nullopt;
    std::optional<IUserActionObserver*> actionObserver = std::nullopt;
    std::optional<CUndoHistory*> undoHistory = std::nullopt;
};

// The one way to install process-wide references: installs the given ones for the scope's
// lifetime and puts back, on destruction, what was installed before. Scopes nest and must end
// in the reverse order of their start, as C++ objects on a stack or in a class's members do.
// Nothing is owned.
class CProcessScope {
public:
    explicit CProcessScope(const SProcessReferences& references);
    ~CProcessScope();
    CProcessScope(const CProcessScope&) = delete;
    CProcessScope& operator=(const CProcessScope&) = delete;

private:
    // What is installed now for each reference that wanted names.
    static SProcessReferences Installed(const SProcessReferences& wanted);
    static void Install(const SProcessReferences& references);

    SProcessReferences m_previous;
};

#pragma once

class CQSERDoc;
class CTreeNodeManagerBase;
class ITreeControl;

// The application-wide references: the active document, the tree node manager and the tree
// control it works on. Null until set (only through CProcessScope, which puts back what was
// there); code that finds one null does nothing with it.
class CAppContext {
public:
    static CQSERDoc* ActiveDocument();
    static CTreeNodeManagerBase* TreeNodeManager();
    static ITreeControl* TreeControl();

private:
    friend class CProcessScope;
    static void SetActiveDocument(CQSERDoc* document);
    static void SetTreeNodeManager(CTreeNodeManagerBase* manager);
    static void SetTreeControl(ITreeControl* tree);

    struct SReferences {
        CQSERDoc* document = nullptr;
        CTreeNodeManagerBase* manager = nullptr;
        ITreeControl* tree = nullptr;
    };
    static SReferences& References();
};

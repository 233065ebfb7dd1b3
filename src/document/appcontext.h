#pragma once

class CQSERDoc;
class CTreeNodeManagerBase;
class ITreeControl;

// The application-wide references: the active document, the tree node manager and the tree
// control it works on. Null until set; code that finds one null does nothing with it.
class CAppContext {
public:
    static CQSERDoc* ActiveDocument();
    static void SetActiveDocument(CQSERDoc* document);
    static CTreeNodeManagerBase* TreeNodeManager();
    static void SetTreeNodeManager(CTreeNodeManagerBase* manager);
    static ITreeControl* TreeControl();
    static void SetTreeControl(ITreeControl* tree);

private:
    struct SReferences {
        CQSERDoc* document = nullptr;
        CTreeNodeManagerBase* manager = nullptr;
        ITreeControl* tree = nullptr;
    };
    static SReferences& References();
};

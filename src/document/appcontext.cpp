#include "appcontext.h"

CAppContext::SReferences& CAppContext::References() {
    static SReferences references;
    return references;
}

CQSERDoc* CAppContext::ActiveDocument() {
    return References().document;
}

void CAppContext::SetActiveDocument(CQSERDoc* document) {
    References().document = document;
}

CTreeNodeManagerBase* CAppContext::TreeNodeManager() {
    return References().manager;
}

void CAppContext::SetTreeNodeManager(CTreeNodeManagerBase* manager) {
    References().manager = manager;
}

ITreeControl* CAppContext::TreeControl() {
    return References().tree;
}

void CAppContext::SetTreeControl(ITreeControl* tree) {
    References().tree = tree;
}

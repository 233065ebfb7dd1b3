#include "configurationsession.h"

#include "useraction.h"

CConfigurationSession::CConfigurationSession(const SProcessReferences& environment,
                                             ITreeControl& tree, IDialogFactory& factory,
                                             IViewFrame* frame)
    : m_tree(tree), m_manager(m_doc, tree), m_handlers(m_doc, tree), m_view(m_doc, factory, frame),
      m_scope(WithOwnReferences(environment)) {
    m_tree.SetNotify(&m_handlers);
}

CConfigurationSession::~CConfigurationSession() {
    m_tree.SetNotify(nullptr);
}

SProcessReferences CConfigurationSession::WithOwnReferences(SProcessReferences environment) {
    environment.activeDocument = &m_doc;
    environment.treeNodeManager = &m_manager;
    environment.treeControl = &m_tree;
    return environment;
}

bool CConfigurationSession::Start() {
    bool loaded = false;
    // The load is one user action: it reads one state of the hive and commits once.
    CUserAction::Run([this, &loaded] { loaded = m_doc.OnNewDocument(); });
    if (!loaded) {
        return false;
    }
    m_view.OnInitialUpdate();
    return true;
}

#include "headlesssession.h"

#include "appcontext.h"
#include "stringtable.h"
#include "useraction.h"

CHeadlessSession::CHeadlessSession()
    : m_manager(m_tree), m_handlers(m_tree), m_view(m_doc, m_dialogs, nullptr) {
    m_tree.SetNotify(&m_handlers);
    CAppContext::SetActiveDocument(&m_doc);
    CAppContext::SetTreeNodeManager(&m_manager);
    CAppContext::SetTreeControl(&m_tree);
}

CHeadlessSession::~CHeadlessSession() {
    CAppContext::SetTreeControl(nullptr);
    CAppContext::SetTreeNodeManager(nullptr);
    CAppContext::SetActiveDocument(nullptr);
    m_tree.SetNotify(nullptr);
}

bool CHeadlessSession::Start() {
    bool loaded = false;
    // The load is one user action: it reads one state of the hive and commits once.
    CUserAction::Run([this, &loaded] { loaded = m_doc.OnNewDocument(); });
    if (!loaded) {
        return false;
    }
    m_view.OnInitialUpdate();
    return true;
}

bool CHeadlessSession::Select(const std::string& path) {
    HTREEITEM item = m_tree.FindItem(LoadString(IDS_DRIVER_SERVICE) + "/" + path);
    if (item == nullptr) {
        return false;
    }
    m_tree.EnsureVisible(item);
    m_tree.Click(item);
    return true;
}

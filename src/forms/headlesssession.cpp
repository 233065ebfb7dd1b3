#include "headlesssession.h"

#include "stringtable.h"

CHeadlessSession::CHeadlessSession(const SProcessReferences& environment)
    : m_session(environment, m_tree, m_dialogs) {}

bool CHeadlessSession::Select(const std::string& path) {
    HTREEITEM item = m_tree.FindItem(LoadString(IDS_DRIVER_SERVICE) + "/" + path);
    if (item == nullptr) {
        return false;
    }
    m_tree.EnsureVisible(item);
    m_tree.Click(item);
    return true;
}

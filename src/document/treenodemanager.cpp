#include "treenodemanager.h"

#include "appcontext.h"
#include "boardobj.h"
#include "portobj.h"
#include "qserdoc.h"
#include "stringtable.h"

CTreeNodeManager::CTreeNodeManager(ITreeControl& tree) : m_tree(tree) {}

ETreeInsert CTreeNodeManager::InsertPosition() const {
    const CQSERDoc* doc = CAppContext::ActiveDocument();
    int mode = doc == nullptr ? 1 : doc->m_treeInsertMode;
    if (mode == 0) {
        return ETreeInsert::First;
    }
    return mode == 2 ? ETreeInsert::Sort : ETreeInsert::Last;
}

int CTreeNodeManager::InsertDriverItem() {
    m_hDriverItem = m_tree.InsertTreeItem(nullptr, LoadString(IDS_DRIVER_SERVICE),
                                          ETreeInsert::Last, IMG_DRIVER, IMG_DRIVER);
    m_tree.SelectItem(m_hDriverItem);
    return 1;
}

int CTreeNodeManager::InsertBoardItem(const std::string& text, ItemKey itemKey) {
    CQSERDoc* doc = CAppContext::ActiveDocument();
    if (doc == nullptr || doc->m_pCurBoard == nullptr) {
        return 1;
    }
    HTREEITEM item =
        m_tree.InsertTreeItem(m_hDriverItem, text, InsertPosition(), IMG_BOARD, IMG_BOARD_SELECTED);
    m_tree.SetItemData(item, itemKey);
    doc->m_pCurBoard->m_hTreeItem = item;
    return 1;
}

int CTreeNodeManager::DeleteSelectedItem(ItemKey /*itemKey*/) {
    CQSERDoc* doc = CAppContext::ActiveDocument();
    if (doc == nullptr || doc->m_pCurBoard == nullptr) {
        return 1;
    }
    // The tree reports a new current item while an item goes, and its handler may change the
    // document's current records: take the ones to act on first.
    CBoardObj* board = doc->m_pCurBoard;
    if (doc->m_selectionKind == 1) {
        HTREEITEM item = board->m_hTreeItem;
        board->m_hTreeItem = nullptr;
        for (CPortObj* port : board->m_PortList) {
            port->m_hTreeItem = nullptr;
        }
        m_tree.DeleteItem(item);
    } else if (doc->m_selectionKind == 2 && doc->m_pCurPort != nullptr) {
        HTREEITEM item = doc->m_pCurPort->m_hTreeItem;
        doc->m_pCurPort->m_hTreeItem = nullptr;
        m_tree.DeleteItem(item);
        m_tree.EnsureVisible(board->m_hTreeItem);
        m_tree.SelectItem(board->m_hTreeItem);
    }
    return 1;
}

int CTreeNodeManager::InsertPortItem(ItemKey /*boardItemKey*/, const std::string& text,
                                     ItemKey itemKey) {
    CQSERDoc* doc = CAppContext::ActiveDocument();
    if (doc == nullptr || doc->m_pCurBoard == nullptr || doc->m_pCurPort == nullptr) {
        return 1;
    }
    HTREEITEM item = m_tree.InsertTreeItem(doc->m_pCurBoard->m_hTreeItem, text, InsertPosition(),
                                           IMG_PORT, IMG_PORT_SELECTED);
    m_tree.SetItemData(item, itemKey);
    doc->m_pCurPort->m_hTreeItem = item;
    return 1;
}

int CTreeNodeManager::SetTreeStyle(unsigned bits, int set) {
    m_tree.SetStyleBits(bits, set != 0);
    return 1;
}

int CTreeNodeManager::ClearTree() {
    m_tree.DeleteAllItems();
    m_hDriverItem = nullptr;
    return 1;
}

int CTreeNodeManager::SetBoardItemText(const std::string& text) {
    const CQSERDoc* doc = CAppContext::ActiveDocument();
    if (doc == nullptr || doc->m_pCurBoard == nullptr) {
        return 0;
    }
    return m_tree.SetItemText(doc->m_pCurBoard->m_hTreeItem, text) ? 1 : 0;
}

int CTreeNodeManager::SetPortItemText(const std::string& text) {
    const CQSERDoc* doc = CAppContext::ActiveDocument();
    if (doc == nullptr || doc->m_pCurPort == nullptr) {
        return 0;
    }
    return m_tree.SetItemText(doc->m_pCurPort->m_hTreeItem, text) ? 1 : 0;
}

#include "treenodemanager.h"

#include "boardobj.h"
#include "portobj.h"
#include "qserdoc.h"
#include "stringtable.h"

namespace {
// Where the tree puts a new item for each of the document's insert modes.
ETreeInsert TreeInsertFor(int treeInsertMode) {
    switch (treeInsertMode) {
    case CQSERDoc::kInsertFirst:
        return ETreeInsert::First;
    case CQSERDoc::kInsertSorted:
        return ETreeInsert::Sort;
    case CQSERDoc::kInsertLast:
    default: // any other mode puts new items last as well
        return ETreeInsert::Last;
    }
}
} // namespace

CTreeNodeManager::CTreeNodeManager(CQSERDoc& doc, ITreeControl& tree) : m_doc(doc), m_tree(tree) {}

ETreeInsert CTreeNodeManager::InsertPosition() const {
    return TreeInsertFor(m_doc.m_treeInsertMode);
}

int CTreeNodeManager::InsertDriverItem() {
    m_hDriverItem = m_tree.InsertTreeItem(nullptr, LoadString(IDS_DRIVER_SERVICE),
                                          ETreeInsert::Last, IMG_DRIVER, IMG_DRIVER);
    m_tree.SelectItem(m_hDriverItem);
    return 1;
}

int CTreeNodeManager::InsertBoardItem(const std::string& text, ItemKey itemKey) {
    if (m_doc.m_pCurBoard == nullptr) {
        return 1;
    }
    HTREEITEM item =
        m_tree.InsertTreeItem(m_hDriverItem, text, InsertPosition(), IMG_BOARD, IMG_BOARD_SELECTED);
    m_tree.SetItemData(item, itemKey);
    m_doc.m_pCurBoard->m_hTreeItem = item;
    return 1;
}

int CTreeNodeManager::DeleteSelectedItem(ItemKey /*itemKey*/) {
    if (m_doc.m_pCurBoard == nullptr) {
        return 1;
    }
    // The tree reports a new current item while an item goes, and its handler may change the
    // document's current records: take the ones to act on first.
    CBoardObj* board = m_doc.m_pCurBoard;
    if (m_doc.m_selectionKind == CQSERDoc::kSelectionBoard) {
        HTREEITEM item = board->m_hTreeItem;
        board->m_hTreeItem = nullptr;
        for (CPortObj* port : board->m_PortList) {
            port->m_hTreeItem = nullptr;
        }
        m_tree.DeleteItem(item);
    } else if (m_doc.m_selectionKind == CQSERDoc::kSelectionPort && m_doc.m_pCurPort != nullptr) {
        HTREEITEM item = m_doc.m_pCurPort->m_hTreeItem;
        m_doc.m_pCurPort->m_hTreeItem = nullptr;
        m_tree.DeleteItem(item);
        m_tree.EnsureVisible(board->m_hTreeItem);
        m_tree.SelectItem(board->m_hTreeItem);
    }
    return 1;
}

int CTreeNodeManager::InsertPortItem(ItemKey /*boardItemKey*/, const std::string& text,
                                     ItemKey itemKey) {
    if (m_doc.m_pCurBoard == nullptr || m_doc.m_pCurPort == nullptr) {
        return 1;
    }
    HTREEITEM item = m_tree.InsertTreeItem(m_doc.m_pCurBoard->m_hTreeItem, text, InsertPosition(),
                                           IMG_PORT, IMG_PORT_SELECTED);
    m_tree.SetItemData(item, itemKey);
    m_doc.m_pCurPort->m_hTreeItem = item;
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
    if (m_doc.m_pCurBoard == nullptr) {
        return 0;
    }
    return m_tree.SetItemText(m_doc.m_pCurBoard->m_hTreeItem, text) ? 1 : 0;
}

int CTreeNodeManager::SetPortItemText(const std::string& text) {
    if (m_doc.m_pCurPort == nullptr) {
        return 0;
    }
    return m_tree.SetItemText(m_doc.m_pCurPort->m_hTreeItem, text) ? 1 : 0;
}

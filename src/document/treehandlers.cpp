#include "treehandlers.h"

#include "boardobj.h"
#include "portobj.h"
#include "qserdoc.h"

namespace {
bool IsBoardImage(int image) {
    return image == IMG_BOARD || image == IMG_BOARD_SELECTED;
}
bool IsPortImage(int image) {
    return image == IMG_PORT || image == IMG_PORT_SELECTED;
}
} // namespace

CTreeHandlers::CTreeHandlers(CQSERDoc& doc, ITreeControl& tree) : m_doc(doc), m_tree(tree) {}

bool CTreeHandlers::SelectBoard(HTREEITEM item) {
    ItemKey key = m_tree.GetItemData(item);
    CBoardObj* board = m_doc.FindBoard(key);
    if (board == nullptr) {
        return false;
    }
    m_doc.m_selectionKind = CQSERDoc::kSelectionBoard;
    m_doc.m_pCurBoard = board;
    board->SetItemKey(key);
    board->m_hTreeItem = item;
    return true;
}

bool CTreeHandlers::SelectPort(HTREEITEM item) {
    ItemKey key = m_tree.GetItemData(item);
    CPortObj* port = m_doc.FindPort(key);
    if (port == nullptr) {
        return false;
    }
    m_doc.m_selectionKind = CQSERDoc::kSelectionPort;
    m_doc.m_pCurPort = port;
    port->SetItemKey(key);
    port->m_hTreeItem = item;
    HTREEITEM parent = m_tree.GetParentItem(item);
    if (CBoardObj* board = m_doc.FindBoard(m_tree.GetItemData(parent))) {
        m_doc.m_pCurBoard = board;
        board->m_hTreeItem = parent;
    }
    return true;
}

void CTreeHandlers::OnSelChanged(HTREEITEM item) {
    int image = m_tree.GetItemImage(item);
    if (image == IMG_DRIVER) {
        m_doc.m_selectionKind = CQSERDoc::kSelectionDriver;
    } else if (IsBoardImage(image)) {
        SelectBoard(item);
    } else if (IsPortImage(image)) {
        SelectPort(item);
    }
    m_doc.UpdateAllViews();
}

void CTreeHandlers::DeleteChildren(HTREEITEM item) {
    while (HTREEITEM child = m_tree.GetChildItem(item)) {
        m_tree.DeleteItem(child);
    }
}

void CTreeHandlers::CollapseChildren(HTREEITEM item) {
    for (HTREEITEM child = m_tree.GetChildItem(item); child != nullptr;
         child = m_tree.GetNextSiblingItem(child)) {
        m_tree.Collapse(child);
    }
}

void CTreeHandlers::OnItemExpanded(HTREEITEM item, bool expanded) {
    if (!expanded) {
        return;
    }
    int image = m_tree.GetItemImage(item);
    if (image == IMG_DRIVER) {
        if (m_doc.m_bTreeSynced != 1) {
            return;
        }
        DeleteChildren(item);
        m_doc.RefillTree();
    } else if (IsBoardImage(image)) {
        if (!SelectBoard(item) || m_doc.m_bTreeSynced != 1) {
            return;
        }
        DeleteChildren(item);
        m_doc.RefillBoardPorts(m_doc.FindBoard(m_tree.GetItemData(item)));
    } else {
        return;
    }
    CollapseChildren(item);
    m_tree.SelectItem(item);
}

void CTreeHandlers::OnDblClk() {
    HTREEITEM item = m_tree.GetSelectedItem();
    if (m_tree.GetItemImage(item) == IMG_DRIVER && m_doc.m_bTreeSynced == 1 &&
        m_tree.GetChildItem(item) == nullptr) {
        m_doc.RefillTree();
    }
}

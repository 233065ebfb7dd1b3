#include "treehandlers.h"

#include "appcontext.h"
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

CTreeHandlers::CTreeHandlers(ITreeControl& tree) : m_tree(tree) {}

bool CTreeHandlers::SelectBoard(CQSERDoc& doc, HTREEITEM item) {
    ItemKey key = m_tree.GetItemData(item);
    CBoardObj* board = doc.FindBoard(key);
    if (board == nullptr) {
        return false;
    }
    doc.m_selectionKind = 1;
    doc.m_pCurBoard = board;
    board->SetItemKey(key);
    board->m_hTreeItem = item;
    return true;
}

bool CTreeHandlers::SelectPort(CQSERDoc& doc, HTREEITEM item) {
    ItemKey key = m_tree.GetItemData(item);
    CPortObj* port = doc.FindPort(key);
    if (port == nullptr) {
        return false;
    }
    doc.m_selectionKind = 2;
    doc.m_pCurPort = port;
    port->SetItemKey(key);
    port->m_hTreeItem = item;
    HTREEITEM parent = m_tree.GetParentItem(item);
    if (CBoardObj* board = doc.FindBoard(m_tree.GetItemData(parent))) {
        doc.m_pCurBoard = board;
        board->m_hTreeItem = parent;
    }
    return true;
}

void CTreeHandlers::OnSelChanged(HTREEITEM item) {
    CQSERDoc* doc = CAppContext::ActiveDocument();
    if (doc == nullptr) {
        return;
    }
    int image = m_tree.GetItemImage(item);
    if (image == IMG_DRIVER) {
        doc->m_selectionKind = 0;
    } else if (IsBoardImage(image)) {
        SelectBoard(*doc, item);
    } else if (IsPortImage(image)) {
        SelectPort(*doc, item);
    }
    doc->UpdateAllViews();
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
    CQSERDoc* doc = CAppContext::ActiveDocument();
    if (doc == nullptr || !expanded) {
        return;
    }
    int image = m_tree.GetItemImage(item);
    if (image == IMG_DRIVER) {
        if (doc->m_bTreeSynced != 1) {
            return;
        }
        DeleteChildren(item);
        doc->RefillTree();
    } else if (IsBoardImage(image)) {
        if (!SelectBoard(*doc, item) || doc->m_bTreeSynced != 1) {
            return;
        }
        DeleteChildren(item);
        doc->RefillBoardPorts(doc->FindBoard(m_tree.GetItemData(item)));
    } else {
        return;
    }
    CollapseChildren(item);
    m_tree.SelectItem(item);
}

void CTreeHandlers::OnDblClk() {
    CQSERDoc* doc = CAppContext::ActiveDocument();
    HTREEITEM item = m_tree.GetSelectedItem();
    if (doc != nullptr && m_tree.GetItemImage(item) == IMG_DRIVER && doc->m_bTreeSynced == 1 &&
        m_tree.GetChildItem(item) == nullptr) {
        doc->RefillTree();
    }
}

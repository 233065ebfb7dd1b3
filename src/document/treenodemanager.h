#pragma once

#include "itreecontrol.h"
#include "treenodemanagerbase.h"

class CQSERDoc;

// The tree node manager over a tree control (the window's or the headless one), acting on the
// document's current board and port. Both must outlive it.
class CTreeNodeManager : public CTreeNodeManagerBase {
public:
    CTreeNodeManager(CQSERDoc& doc, ITreeControl& tree);

    int InsertDriverItem() override;
    int InsertBoardItem(const std::string& text, ItemKey itemKey) override;
    int DeleteSelectedItem(ItemKey itemKey) override;
    int InsertPortItem(ItemKey boardItemKey, const std::string& text, ItemKey itemKey) override;
    int SetTreeStyle(unsigned bits, int set) override;
    int ClearTree() override;
    int SetBoardItemText(const std::string& text) override;
    int SetPortItemText(const std::string& text) override;

private:
    ETreeInsert InsertPosition() const;

    CQSERDoc& m_doc;
    ITreeControl& m_tree;
    HTREEITEM m_hDriverItem = nullptr;
};

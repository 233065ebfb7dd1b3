#pragma once

#include "itreecontrol.h"
#include "treenodemanagerbase.h"

// The tree node manager over a tree control (the window's or the headless one). It reaches the
// document through the application's active-document reference and does nothing without one.
class CTreeNodeManager : public CTreeNodeManagerBase {
public:
    explicit CTreeNodeManager(ITreeControl& tree);

    int InsertDriverItem() override;
    int InsertBoardItem(const std::string& text, ItemKey itemKey) override;
    int DeleteSelectedItem(ItemKey itemKey) override;
    int InsertPortItem(ItemKey boardItemKey, const std::string& text, ItemKey itemKey) override;
    int SetTreeStyle(unsigned bits, int set) override;
    int ClearTree() override;
    int SetBoardItemText(const std::string& text) override;
    int SetPortItemText(const std::string& text) override;

    HTREEITEM GetDriverItem() const { return m_hDriverItem; }

private:
    ETreeInsert InsertPosition() const;

    ITreeControl& m_tree;
    HTREEITEM m_hDriverItem = nullptr;
};

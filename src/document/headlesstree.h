#pragma once

#include "itreecontrol.h"

#include <memory>
#include <string>
#include <vector>

// A tree control without a window, for command-line sessions and tests. It behaves as the
// window's tree does: see ITreeControl for what it reports and when. The user's own actions
// (a click, an expansion, a double click) are methods of their own, since only they reach the
// tree's handlers the way a person's input does.
class CHeadlessTree : public ITreeControl {
public:
    CHeadlessTree();
    ~CHeadlessTree() override;
    CHeadlessTree(const CHeadlessTree&) = delete;
    CHeadlessTree& operator=(const CHeadlessTree&) = delete;

    void SetNotify(ITreeNotify* notify) override { m_pNotify = notify; }

    HTREEITEM InsertTreeItem(HTREEITEM parent, const std::string& text, ETreeInsert where,
                             int image, int selectedImage) override;
    void DeleteItem(HTREEITEM item) override;
    void DeleteAllItems() override;
    void SetItemData(HTREEITEM item, ItemKey data) override;
    ItemKey GetItemData(HTREEITEM item) const override;
    int GetItemImage(HTREEITEM item) const override;
    bool SetItemText(HTREEITEM item, const std::string& text) override;
    HTREEITEM GetRootItem() const override;
    HTREEITEM GetParentItem(HTREEITEM item) const override;
    HTREEITEM GetChildItem(HTREEITEM item) const override;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const override;
    HTREEITEM GetSelectedItem() const override;
    void SelectItem(HTREEITEM item) override;
    void EnsureVisible(HTREEITEM item) override;
    void Collapse(HTREEITEM item) override;
    void SetStyleBits(unsigned bits, bool set) override;

    // A person's actions.
    void Click(HTREEITEM item) { SelectItem(item); }
    void UserExpand(HTREEITEM item);
    void UserDoubleClick();

    std::string GetItemText(HTREEITEM item) const;
    bool IsExpanded(HTREEITEM item) const;
    std::vector<HTREEITEM> Children(HTREEITEM item) const;
    // The item reached by the texts of a path from the top ("QSERDRV/Board000/Port001"),
    // compared without regard to case; null when there is none.
    HTREEITEM FindItem(const std::string& path) const;
    unsigned StyleBits() const { return m_styleBits; }

private:
    struct SNode;
    using NodeList = std::vector<std::unique_ptr<SNode>>;

    static SNode* Node(HTREEITEM item) { return static_cast<SNode*>(item); }
    NodeList& SiblingsOf(SNode* node);
    const NodeList& SiblingsOf(const SNode* node) const;
    NodeList& ChildrenOf(SNode* parent);
    static std::size_t SortedPosition(const NodeList& siblings, const std::string& text);
    bool IsAncestorOfCurrent(const SNode* node) const;
    SNode* Neighbour(SNode* node);

    NodeList m_topLevel;
    SNode* m_pCurrent = nullptr;
    ITreeNotify* m_pNotify = nullptr;
    unsigned m_styleBits = 0;
};

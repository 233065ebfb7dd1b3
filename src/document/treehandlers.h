#pragma once

#include "itreecontrol.h"

class CQSERDoc;

// What the configuration tree does with a selection, an expansion and a double click, written
// once for the window's tree and the headless one. The document and the tree must outlive it.
class CTreeHandlers : public ITreeNotify {
public:
    CTreeHandlers(CQSERDoc& doc, ITreeControl& tree);

    void OnSelChanged(HTREEITEM item) override;
    void OnItemExpanded(HTREEITEM item, bool expanded) override;
    void OnDblClk() override;

private:
    // Makes the board or port of item current; false when item names no record.
    bool SelectBoard(HTREEITEM item);
    bool SelectPort(HTREEITEM item);
    void DeleteChildren(HTREEITEM item);
    void CollapseChildren(HTREEITEM item);

    CQSERDoc& m_doc;
    ITreeControl& m_tree;
};

#pragma once

#include "itreecontrol.h"

class CQSERDoc;

// What the configuration tree does with a selection, an expansion and a double click, written
// once for the window's tree and the headless one. Acts on the application's active document and
// does nothing without one.
class CTreeHandlers : public ITreeNotify {
public:
    explicit CTreeHandlers(ITreeControl& tree);

    void OnSelChanged(HTREEITEM item) override;
    void OnItemExpanded(HTREEITEM item, bool expanded) override;
    void OnDblClk() override;

private:
    // Makes the board or port of item current; false when item names no record.
    bool SelectBoard(CQSERDoc& doc, HTREEITEM item);
    bool SelectPort(CQSERDoc& doc, HTREEITEM item);
    void DeleteChildren(HTREEITEM item);
    void CollapseChildren(HTREEITEM item);

    ITreeControl& m_tree;
};

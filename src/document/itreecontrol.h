#pragma once

#include "recordtypes.h"

#include <string>

// Normal and selected images of the configuration tree; an item's kind is its normal image.
enum ETreeImage {
    IMG_DRIVER = 0,
    IMG_BOARD = 1,
    IMG_BOARD_SELECTED = 2,
    IMG_PORT = 3,
    IMG_PORT_SELECTED = 4,
};

enum class ETreeInsert { First, Last, Sort };

// The tree control as the tree node manager and the tree handlers use it. The window's tree and
// the headless tree implement it alike. Every operation accepts a null item and then acts on no
// item (queries give null, 0 or -1).
//
// Selecting an item other than the current one reports the change to the tree's handlers, also
// when a program selects it. Deleting the current item makes a neighbour (the previous sibling,
// else the next, else the parent) current and reports it; deleting an ancestor of the current
// item leaves no current item and reports nothing. Expanding, collapsing and revealing by
// program report nothing.
class ITreeNotify;

class ITreeControl {
public:
    virtual ~ITreeControl() = default;

    // The handlers the tree reports to (null: none). Not owned.
    virtual void SetNotify(ITreeNotify* notify) = 0;

    // A null parent inserts at the top level.
    virtual HTREEITEM InsertTreeItem(HTREEITEM parent, const std::string& text, ETreeInsert where,
                                     int image, int selectedImage) = 0;
    virtual void DeleteItem(HTREEITEM item) = 0;
    virtual void DeleteAllItems() = 0;

    virtual void SetItemData(HTREEITEM item, ItemKey data) = 0;
    virtual ItemKey GetItemData(HTREEITEM item) const = 0;
    virtual int GetItemImage(HTREEITEM item) const = 0;
    virtual bool SetItemText(HTREEITEM item, const std::string& text) = 0;

    virtual HTREEITEM GetRootItem() const = 0;
    virtual HTREEITEM GetParentItem(HTREEITEM item) const = 0;
    virtual HTREEITEM GetChildItem(HTREEITEM item) const = 0;
    virtual HTREEITEM GetNextSiblingItem(HTREEITEM item) const = 0;

    virtual HTREEITEM GetSelectedItem() const = 0;
    virtual void SelectItem(HTREEITEM item) = 0;
    virtual void EnsureVisible(HTREEITEM item) = 0;
    virtual void Collapse(HTREEITEM item) = 0;

    // The tree's window style bits (buttons, lines, lines at the root); headless trees only keep
    // them.
    virtual void SetStyleBits(unsigned bits, bool set) = 0;
};

// What the tree reports to its handlers.
class ITreeNotify {
public:
    virtual ~ITreeNotify() = default;
    virtual void OnSelChanged(HTREEITEM item) = 0;
    virtual void OnItemExpanded(HTREEITEM item, bool expanded) = 0;
    virtual void OnDblClk() = 0;
};

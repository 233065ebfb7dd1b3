#pragma once

#include "recordtypes.h"

#include <string>

// The one object through which the document inserts and deletes tree items. The operations act
// on the active document's current board and port, which the caller makes current first.
class CTreeNodeManagerBase {
public:
    virtual ~CTreeNodeManagerBase() = default;

    // Inserts the driver item at the top level and selects it.
    virtual int InsertDriverItem() = 0;
    // Inserts the current board's item under the driver item and stores it in the board.
    virtual int InsertBoardItem(const std::string& text, ItemKey itemKey) = 0;
    // Deletes the current board's item (CQSERDoc::kSelectionBoard) or the current port's item
    // (kSelectionPort, then reveals and selects its board's item). The key is not used.
    virtual int DeleteSelectedItem(ItemKey itemKey) = 0;
    // Inserts the current port's item under the current board's item and stores it in the port.
    // The board key is not used.
    virtual int InsertPortItem(ItemKey boardItemKey, const std::string& text, ItemKey itemKey) = 0;
    virtual int SetTreeStyle(unsigned bits, int set) = 0;
    virtual int ClearTree() = 0;
    virtual int SetBoardItemText(const std::string& text) = 0;
    virtual int SetPortItemText(const std::string& text) = 0;
};

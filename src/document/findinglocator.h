#pragma once

#include "recordtypes.h"

#include <string>

class CQSERDoc;

// Where in the configuration tree a finding's key is: the item of the board or port record a
// driver key path names (without regard to case). Null for any other key, such as an entry of
// the operating system, or a record without an item.
class CFindingLocator {
public:
    static HTREEITEM ItemOf(const CQSERDoc& doc, const std::string& keyPath);
};

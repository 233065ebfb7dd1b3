#pragma once

#include <cstdint>

// Identifies a record in the configuration tree: the record's own address, handed to the tree
// as item data and handed back on selection.
using ItemKey = std::uintptr_t;

// Opaque handle of a tree item; null while the record has no item.
using HTREEITEM = void*;

#pragma once

#include "hive.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// The ids of the key paths opened during one transaction, under their folded form, so that
// opening a path again, or a path below it, does not walk the tree from the root. Only valid
// while nothing can remove a key behind its back: the owner clears it whenever a key is deleted,
// a transaction ends or rolls back.
class CHiveKeyCache {
public:
    // The deepest known key on the way to folded (a path in CHivePath::Fold form): how many of
    // its components are known (0 when none is), and that key's id in id (0, the root, when none
    // is).
    std::size_t Resolve(std::string_view folded, HiveKeyId& id) const;
    // Whether folded itself is known, and its id.
    bool Find(std::string_view folded, HiveKeyId& id) const;
    void Remember(std::string_view folded, HiveKeyId id);
    void Clear() { m_ids.clear(); }

private:
    struct SHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, HiveKeyId, SHash, std::equal_to<>> m_ids;
};

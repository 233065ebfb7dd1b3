#pragma once

#include "hive.h"

#include <map>
#include <string>
#include <vector>

// A part of the registry as it stood at one moment: for each key captured, its path as created
// and its values in creation order. Undo compares two of these, taken before and after a user
// action, to learn what the action changed.
class CRegistrySnapshot {
public:
    // Where to look: a key and, when bSubTree, every key below it. A missing key is captured as
    // absent, so that a snapshot taken after it was made tells it apart.
    struct SRoot {
        std::string path;
        bool bSubTree = true;
    };
    struct SKey {
        std::string path;
        std::vector<SHiveValue> values;
        bool operator==(const SKey&) const = default;
    };
    // Keyed by the folded path, so that a key is found whatever case a path spells it in.
    using KeyMap = std::map<std::string, SKey>;

    // A root whose key is missing reaches from its first missing ancestor down instead, since
    // a change that makes the key makes every missing key of its path.
    static SRoot Reach(CHive& hive, const std::string& path, bool subTree);

    // Reads the roots from hive. A key that cannot be read is captured without values; an
    // unreadable part of the tree is not a change anyone could undo.
    static CRegistrySnapshot Capture(CHive& hive, const std::vector<SRoot>& roots);

    const KeyMap& Keys() const { return m_keys; }
    const std::vector<SRoot>& Roots() const { return m_roots; }

private:
    void CaptureKey(CHive& hive, const std::string& path, HiveKeyId id, bool subTree);

    std::vector<SRoot> m_roots;
    KeyMap m_keys;
};

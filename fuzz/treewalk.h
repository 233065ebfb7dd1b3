#pragma once

#include "hive.h"

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

// Every key and value under HKEY_LOCAL_MACHINE as CHive shows them, walked as `show` reads: the
// sub-keys of each key, the values of each, and each name the enumeration offers found again by
// its path. Bounded in depth and in keys, so that a hive whose index lists a key below itself
// ends the walk. The current control set is named CurrentControlSet, as the system names it.
class CTreeWalk {
public:
    static constexpr int kMaxDepth = 40;
    static constexpr std::size_t kMaxKeys = 3000;

    struct SKey {
        // The path without the occurrence: a key listed twice is owned as the key is.
        std::string path;
        Win32Status status = 0;
        std::vector<SHiveValue> values;
        std::vector<std::string> unreadable;
        bool operator==(const SKey&) const = default;
    };

    // Aborts, naming the path, when a name the enumeration offers cannot be found by its path.
    explicit CTreeWalk(CHive& hive);

    // Whether a bound ended the walk before it saw everything.
    bool Cut() const { return m_bCut; }
    // Aborts, naming the key, when a key outside what QSER owns (the driver key, the serial
    // service's values and its instance keys, the bits of ComDB that our ports' COM numbers
    // have) differs between the walks or is missing in after;
    // a key new in after may only be an empty parent of what QSER owns.
    static void CheckForeignUnchanged(const CTreeWalk& before, const CTreeWalk& after);

private:
    // reachable: every name of the path is one a path can hold.
    void Walk(HiveKeyId id, const std::string& path, int depth, bool reachable);
    static bool Owned(const std::string& path);
    static bool ParentOfOwned(const std::string& path);
    // The COM numbers a port key or a Serial\Parameters instance names in either walk.
    static std::set<unsigned> OurComNumbers(const CTreeWalk& before, const CTreeWalk& after);
    // Whether was and is are the COM name database's key and differ only in ComDB bits of
    // those numbers (grown, never cut short).
    static bool OnlyOurComBitsChanged(const SKey& was, const SKey& is, const CTreeWalk& before,
                                      const CTreeWalk& after);

    CHive& m_hive;
    HiveKeyId m_currentSet = -1;
    // By path, and the occurrence of that path: a damaged hive may list a name twice.
    std::map<std::string, SKey> m_keys;
    std::size_t m_visited = 0;
    bool m_bCut = false;
};

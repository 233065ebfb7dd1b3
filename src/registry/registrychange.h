#pragma once

#include "registrysnapshot.h"
#include "win32status.h"

#include <optional>
#include <string>
#include <vector>

class CHive;

// What one user action changed in the registry: each key it made, deleted or whose values it
// changed, with that key's state before and after. Undo puts the keys back as they were before,
// Redo as they were after; either is written as any other change, inside the caller's batch.
class CRegistryChange {
public:
    // The keys that differ between two snapshots of the same roots.
    static CRegistryChange Between(const CRegistrySnapshot& before, const CRegistrySnapshot& after);

    bool IsEmpty() const { return m_keys.empty(); }
    // How many keys differ.
    std::size_t KeyCount() const { return m_keys.size(); }

    // Puts every changed key back as it stood before (Undo) or after (Redo): a key that did not
    // exist then is deleted with its sub-keys, one that did is made and given exactly its
    // values then. The first failing operation stops and its status is returned; the caller's
    // batch then must not be committed.
    Win32Status RestoreBefore(CHive& hive) const;
    Win32Status RestoreAfter(CHive& hive) const;

private:
    struct SKeyChange {
        std::string path;
        std::optional<CRegistrySnapshot::SKey> before;
        std::optional<CRegistrySnapshot::SKey> after;
    };
    using Side = std::optional<CRegistrySnapshot::SKey> SKeyChange::*;
    Win32Status Restore(CHive& hive, Side side) const;
    static Win32Status SetValues(CHive& hive, const CRegistrySnapshot::SKey& key);

    // In path order, so that a parent comes before its sub-keys.
    std::vector<SKeyChange> m_keys;
};

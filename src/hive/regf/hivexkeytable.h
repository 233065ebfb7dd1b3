#pragma once

#include "hive.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The ids a hive file store hands out. A hive file has no ids of its own and its node handles
// change with every load, so an id names a key by its parent's id and its name. An id stays
// valid for as long as its key exists and is never given to another key: a key deleted and
// made again gets a new one. Changes of the open transaction are journaled so that a rollback
// restores what the file still holds.
class CHivexKeyTable {
public:
    // HKEY_LOCAL_MACHINE (virtual) and SYSTEM, the hive's root.
    static constexpr HiveKeyId kMachine = 0;
    static constexpr HiveKeyId kSystem = 1;

    CHivexKeyTable();

    // The id of the live key name (as the hive holds it, UTF-8) under parent; made when first
    // asked. Names compare case-insensitively (ASCII).
    HiveKeyId Child(HiveKeyId parent, const std::string& name);
    // A key this transaction created: a rollback forgets it.
    void Created(HiveKeyId id);
    // A key that this transaction deleted, and its sub-keys: a rollback brings them back.
    void Deleted(HiveKeyId id);
    // A key that is gone from the file (another program deleted it): its id is dead for good.
    void Gone(HiveKeyId id);
    bool Alive(HiveKeyId id) const;
    HiveKeyId Parent(HiveKeyId id) const { return m_entries[static_cast<std::size_t>(id)].parent; }
    const std::string& Name(HiveKeyId id) const {
        return m_entries[static_cast<std::size_t>(id)].name;
    }
    // The names from SYSTEM down to the key; empty for HKEY_LOCAL_MACHINE or an id not alive.
    std::vector<std::string> Path(HiveKeyId id) const;

    void CommitJournal();
    void RollbackJournal();

private:
    struct SEntry {
        HiveKeyId parent = 0;
        std::string name;
        bool bAlive = true;
    };
    using Index = std::map<std::pair<HiveKeyId, std::string>, HiveKeyId>;
    // Kills id and every live id below it; returns the ids killed. Parents have lower ids than
    // their children, so one pass in id order sees every parent first.
    std::vector<HiveKeyId> Kill(HiveKeyId id);
    void Revive(HiveKeyId id);
    Index::key_type IndexKey(HiveKeyId id) const;

    std::vector<SEntry> m_entries;
    Index m_index;
    std::vector<HiveKeyId> m_created;
    std::vector<HiveKeyId> m_deleted;
};

#include "hivexkeytable.h"

#include "hivepath.h"

#include <algorithm>

CHivexKeyTable::CHivexKeyTable() {
    m_entries.push_back({kMachine, "", true});
    m_entries.push_back({kMachine, "SYSTEM", true});
    m_index[IndexKey(kSystem)] = kSystem;
}

CHivexKeyTable::Index::key_type CHivexKeyTable::IndexKey(HiveKeyId id) const {
    const SEntry& entry = m_entries[static_cast<std::size_t>(id)];
    return {entry.parent, CHivePath::Fold(entry.name)};
}

HiveKeyId CHivexKeyTable::Child(HiveKeyId parent, const std::string& name) {
    const auto [place, added] = m_index.try_emplace({parent, CHivePath::Fold(name)},
                                                    static_cast<HiveKeyId>(m_entries.size()));
    if (added) {
        m_entries.push_back({parent, name, true});
    } else {
        // Another program may have made the key again with other letter case.
        m_entries[static_cast<std::size_t>(place->second)].name = name;
    }
    return place->second;
}

bool CHivexKeyTable::Alive(HiveKeyId id) const {
    return id >= 0 && static_cast<std::size_t>(id) < m_entries.size() &&
           m_entries[static_cast<std::size_t>(id)].bAlive;
}

std::vector<std::string> CHivexKeyTable::Path(HiveKeyId id) const {
    std::vector<std::string> names;
    if (!Alive(id)) {
        return names;
    }
    for (; id != kMachine; id = Parent(id)) {
        names.push_back(Name(id));
    }
    std::reverse(names.begin(), names.end());
    return names;
}

std::vector<HiveKeyId> CHivexKeyTable::Kill(HiveKeyId id) {
    std::vector<HiveKeyId> killed;
    if (!Alive(id)) {
        return killed;
    }
    std::vector<bool> dying(m_entries.size(), false);
    dying[static_cast<std::size_t>(id)] = true;
    for (std::size_t i = static_cast<std::size_t>(id); i < m_entries.size(); ++i) {
        SEntry& entry = m_entries[i];
        if (!entry.bAlive || !(dying[i] || dying[static_cast<std::size_t>(entry.parent)])) {
            continue;
        }
        dying[i] = true;
        m_index.erase(IndexKey(static_cast<HiveKeyId>(i)));
        entry.bAlive = false;
        killed.push_back(static_cast<HiveKeyId>(i));
    }
    return killed;
}

void CHivexKeyTable::Revive(HiveKeyId id) {
    m_entries[static_cast<std::size_t>(id)].bAlive = true;
    m_index[IndexKey(id)] = id;
}

void CHivexKeyTable::Created(HiveKeyId id) {
    m_created.push_back(id);
}

void CHivexKeyTable::Deleted(HiveKeyId id) {
    const std::vector<HiveKeyId> killed = Kill(id);
    m_deleted.insert(m_deleted.end(), killed.begin(), killed.end());
}

void CHivexKeyTable::Gone(HiveKeyId id) {
    Kill(id);
}

void CHivexKeyTable::CommitJournal() {
    m_created.clear();
    m_deleted.clear();
}

void CHivexKeyTable::RollbackJournal() {
    // Forget the new keys first: a deleted key may share its name with one made after it.
    for (const HiveKeyId id : m_created) {
        Kill(id);
    }
    for (const HiveKeyId id : m_deleted) {
        if (std::find(m_created.begin(), m_created.end(), id) == m_created.end()) {
            Revive(id);
        }
    }
    CommitJournal();
}

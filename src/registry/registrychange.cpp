#include "registrychange.h"

#include "hive.h"
#include "hivepath.h"

#include <algorithm>

namespace {
std::optional<CRegistrySnapshot::SKey> Find(const CRegistrySnapshot::KeyMap& keys,
                                            const std::string& folded) {
    auto found = keys.find(folded);
    return found == keys.end() ? std::nullopt : std::optional(found->second);
}
} // namespace

CRegistryChange CRegistryChange::Between(const CRegistrySnapshot& before,
                                         const CRegistrySnapshot& after) {
    std::vector<std::string> folded;
    for (const auto* keys : {&before.Keys(), &after.Keys()}) {
        for (const auto& [path, key] : *keys) {
            folded.push_back(path);
        }
    }
    std::sort(folded.begin(), folded.end());
    folded.erase(std::unique(folded.begin(), folded.end()), folded.end());
    CRegistryChange change;
    for (const std::string& path : folded) {
        SKeyChange key{"", Find(before.Keys(), path), Find(after.Keys(), path)};
        if (key.before != key.after) {
            key.path = key.after ? key.after->path : key.before->path;
            change.m_keys.push_back(std::move(key));
        }
    }
    return change;
}

Win32Status CRegistryChange::RestoreBefore(CHive& hive) const {
    return Restore(hive, &SKeyChange::before);
}

Win32Status CRegistryChange::RestoreAfter(CHive& hive) const {
    return Restore(hive, &SKeyChange::after);
}

Win32Status CRegistryChange::Restore(CHive& hive, Side side) const {
    // Sub-keys first when deleting, so that no delete reaches a key already gone with its
    // parent; parents first when making.
    for (auto key = m_keys.rbegin(); key != m_keys.rend(); ++key) {
        if (!((*key).*side)) {
            Win32Status status = hive.DeleteKey(key->path, true);
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
                return status;
            }
        }
    }
    for (const SKeyChange& key : m_keys) {
        if (const auto& target = key.*side) {
            Win32Status status = SetValues(hive, *target);
            if (status != ERROR_SUCCESS) {
                return status;
            }
        }
    }
    return ERROR_SUCCESS;
}

Win32Status CRegistryChange::SetValues(CHive& hive, const CRegistrySnapshot::SKey& key) {
    HiveKeyId id = 0;
    Win32Status status = hive.CreateKey(key.path, id);
    std::vector<SHiveValue> present;
    if (status == ERROR_SUCCESS) {
        status = hive.Values(id, present);
    }
    for (const SHiveValue& value : present) {
        const bool kept = std::any_of(key.values.begin(), key.values.end(), [&](const auto& v) {
            return CHivePath::SameFolded(v.name, value.name);
        });
        if (status == ERROR_SUCCESS && !kept) {
            status = hive.DeleteValue(id, value.name);
        }
    }
    for (const SHiveValue& value : key.values) {
        const bool same = std::find(present.begin(), present.end(), value) != present.end();
        if (status == ERROR_SUCCESS && !same) {
            status = hive.WriteValue(id, value.name, value.type, value.data);
        }
    }
    return status;
}

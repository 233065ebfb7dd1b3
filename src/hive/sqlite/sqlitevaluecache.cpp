#include "sqlitevaluecache.h"

#include "hivepath.h"

#include <algorithm>

void CSqliteValueCache::Start(HiveKeyId key) {
    m_values.clear();
    m_unreadable.clear();
    m_heldKey = key;
}

void CSqliteValueCache::Add(SHiveValue value) {
    m_values.push_back(std::move(value));
}

void CSqliteValueCache::AddUnreadable(const std::string& name) {
    m_unreadable.push_back(name);
}

Win32Status CSqliteValueCache::Read(const std::string& name, SHiveValue& value) const {
    auto found = std::find_if(m_values.begin(), m_values.end(), [&](const SHiveValue& held) {
        return CHivePath::SameFolded(held.name, name);
    });
    if (found != m_values.end()) {
        value = *found;
        return ERROR_SUCCESS;
    }
    const bool unreadable =
        std::any_of(m_unreadable.begin(), m_unreadable.end(),
                    [&](const std::string& held) { return CHivePath::SameFolded(held, name); });
    return unreadable ? ERROR_INVALID_DATA : ERROR_FILE_NOT_FOUND;
}

void CSqliteValueCache::Clear() {
    m_heldKey = kNoKey;
    m_values.clear();
    m_unreadable.clear();
}

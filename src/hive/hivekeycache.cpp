#include "hivekeycache.h"

#include <algorithm>

std::size_t CHiveKeyCache::Resolve(std::string_view folded, HiveKeyId& id) const {
    id = 0;
    std::string_view prefix = folded;
    while (!prefix.empty()) {
        auto found = m_ids.find(prefix);
        if (found != m_ids.end()) {
            id = found->second;
            return static_cast<std::size_t>(std::count(prefix.begin(), prefix.end(), '\\')) + 1;
        }
        const std::size_t separator = prefix.rfind('\\');
        prefix =
            separator == std::string_view::npos ? std::string_view() : prefix.substr(0, separator);
    }
    return 0;
}

bool CHiveKeyCache::Find(std::string_view folded, HiveKeyId& id) const {
    auto found = m_ids.find(folded);
    if (found == m_ids.end()) {
        return false;
    }
    id = found->second;
    return true;
}

void CHiveKeyCache::Remember(std::string_view folded, HiveKeyId id) {
    if (folded.empty()) {
        return;
    }
    if (auto found = m_ids.find(folded); found != m_ids.end()) {
        found->second = id;
    } else {
        m_ids.emplace(folded, id);
    }
}

#include "treewalk.h"

#include "comnamedatabase.h"
#include "hivepath.h"
#include "keypaths.h"
#include "registryvalues.h"
#include "stringtable.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace {
bool Under(const std::string& path, const std::string& top) {
    return strncasecmp(path.c_str(), top.c_str(), top.size()) == 0 &&
           (path.size() == top.size() || path[top.size()] == '\\');
}

[[noreturn]] void Fail(const char* what, const std::string& path) {
    std::fprintf(stderr, "%s: %s\n", what, CHivePath::Printable(path, true).c_str());
    std::abort();
}
} // namespace

CTreeWalk::CTreeWalk(CHive& hive) : m_hive(hive) {
    HiveKeyId root = 0;
    if (m_hive.FindKey("", root) != ERROR_SUCCESS) {
        Fail("HKEY_LOCAL_MACHINE cannot be opened", "");
    }
    if (m_hive.FindKey("SYSTEM\\CurrentControlSet", m_currentSet) != ERROR_SUCCESS) {
        m_currentSet = -1;
    }
    Walk(root, "", 0, true);
}

void CTreeWalk::Walk(HiveKeyId id, const std::string& path, int depth, bool reachable) {
    if (depth > kMaxDepth || m_visited >= kMaxKeys) {
        m_bCut = true;
        return;
    }
    ++m_visited;
    SKey key;
    key.path = path;
    key.status = m_hive.Values(id, key.values, &key.unreadable);
    std::string slot = path;
    for (int occurrence = 1; m_keys.count(CHivePath::Fold(slot)) != 0; ++occurrence) {
        slot = path + "#" + std::to_string(occurrence);
    }
    m_keys.emplace(CHivePath::Fold(slot), std::move(key));

    std::vector<std::string> names;
    m_hive.SubKeyNames(id, names);
    const std::string prefix = path.empty() ? "" : path + "\\";
    for (const std::string& name : names) {
        HiveKeyId found = 0;
        if (reachable && m_hive.FindKey(prefix + name, found) != ERROR_SUCCESS) {
            Fail("an enumerated key cannot be found by its path", prefix + name);
        }
    }
    std::vector<SHiveSubKey> subKeys;
    m_hive.SubKeys(id, subKeys);
    for (const SHiveSubKey& subKey : subKeys) {
        const bool current = depth == 1 && subKey.id == m_currentSet;
        // Keys with names a path cannot hold (empty, with '\', ...) are walked by id only.
        const bool named = std::find(names.begin(), names.end(), subKey.name) != names.end();
        Walk(subKey.id, prefix + (current ? "CurrentControlSet" : subKey.name), depth + 1,
             reachable && named);
    }
}

bool CTreeWalk::Owned(const std::string& path) {
    return Under(path, DriverKeyPath()) || Under(path, SerialParametersKeyPath()) ||
           strcasecmp(path.c_str(), SerialServiceKeyPath().c_str()) == 0;
}

std::set<unsigned> CTreeWalk::OurComNumbers(const CTreeWalk& before, const CTreeWalk& after) {
    std::set<unsigned> numbers;
    for (const CTreeWalk* walk : {&before, &after}) {
        for (const auto& [path, key] : walk->m_keys) {
            const bool driver = Under(key.path, DriverKeyPath());
            if (!driver && !Under(key.path, SerialParametersKeyPath())) {
                continue;
            }
            for (const SHiveValue& value : key.values) {
                const char* name = driver ? "PortCOMPort" : "DosDevices";
                const std::optional<std::string> text = TextOf(value);
                const std::optional<unsigned> number =
                    text ? CComNameDatabase::ComNumber(*text) : std::nullopt;
                if (strcasecmp(value.name.c_str(), name) == 0 && number) {
                    numbers.insert(*number);
                }
            }
        }
    }
    return numbers;
}

bool CTreeWalk::OnlyOurComBitsChanged(const SKey& was, const SKey& is, const CTreeWalk& before,
                                      const CTreeWalk& after) {
    if (strcasecmp(was.path.c_str(), ComNameArbiterKeyPath().c_str()) != 0 ||
        was.status != is.status || was.unreadable != is.unreadable ||
        was.values.size() != is.values.size()) {
        return false;
    }
    const std::set<unsigned> ours = OurComNumbers(before, after);
    for (std::size_t i = 0; i < was.values.size(); ++i) {
        const SHiveValue& old = was.values[i];
        const SHiveValue& now = is.values[i];
        if (old == now) {
            continue;
        }
        if (strcasecmp(old.name.c_str(), "ComDB") != 0 || old.name != now.name ||
            old.type != REG_BINARY || now.type != REG_BINARY || now.data.size() < old.data.size()) {
            return false;
        }
        for (std::size_t byte = 0; byte < now.data.size(); ++byte) {
            const unsigned changed = now.data[byte] ^ (byte < old.data.size() ? old.data[byte] : 0);
            for (unsigned bit = 0; bit < 8; ++bit) {
                if ((changed >> bit & 1) != 0 &&
                    ours.count(static_cast<unsigned>(byte * 8 + bit + 1)) == 0) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool CTreeWalk::ParentOfOwned(const std::string& path) {
    for (const std::string& owned : {DriverKeyPath(), SerialParametersKeyPath()}) {
        if (Under(owned, path)) {
            return true;
        }
    }
    return false;
}

void CTreeWalk::CheckForeignUnchanged(const CTreeWalk& before, const CTreeWalk& after) {
    if (before.Cut() || after.Cut()) {
        return; // the bounds may have cut the walks at different keys
    }
    for (const auto& [path, key] : before.m_keys) {
        if (Owned(key.path)) {
            continue;
        }
        const auto found = after.m_keys.find(path);
        if (found == after.m_keys.end()) {
            Fail("a key QSER does not own is gone", path);
        }
        if (!(found->second == key) && !OnlyOurComBitsChanged(key, found->second, before, after)) {
            Fail("a key QSER does not own has changed", path);
        }
    }
    for (const auto& [path, key] : after.m_keys) {
        const bool emptyParent = ParentOfOwned(key.path) && key.values.empty();
        if (before.m_keys.count(path) == 0 && !Owned(key.path) && !emptyParent) {
            Fail("a key QSER does not own was made", path);
        }
    }
}

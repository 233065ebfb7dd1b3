#include "ownedkeyssnapshot.h"

#include "hivetext.h"
#include "keypaths.h"
#include "stringtable.h"

#include <array>
#include <cstdio>

namespace {
using Json = nlohmann::ordered_json;

constexpr const char* kRoot = "HKEY_LOCAL_MACHINE\\";

std::string TypeName(std::uint32_t type) {
    switch (type) {
    case REG_NONE:
        return "REG_NONE";
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_BINARY:
        return "REG_BINARY";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    case REG_QWORD:
        return "REG_QWORD";
    default:
        return "REG_" + std::to_string(type);
    }
}

std::string Hex(const std::vector<std::uint8_t>& data) {
    std::string hex;
    for (std::uint8_t byte : data) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        hex += digits;
    }
    return hex;
}

// Text as a text, a DWORD as a number, a list of texts as a list; anything else (and text or
// numbers whose bytes do not fit their type) as hexadecimal bytes.
Json DataOf(const SHiveValue& value) {
    const std::vector<std::uint8_t>& data = value.data;
    if (value.type == REG_DWORD && data.size() == 4) {
        return static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                          static_cast<std::uint32_t>(data[3]) << 24);
    }
    if (!CHiveText::IsText(value.type)) {
        return Hex(data);
    }
    std::string text(data.begin(), data.end());
    if (value.type != REG_MULTI_SZ) {
        return CHiveText::ToUtf8(text.substr(0, text.find('\0')));
    }
    Json texts = Json::array();
    for (std::size_t start = 0; start < text.size() && text[start] != '\0';) {
        const std::size_t end = std::min(text.find('\0', start), text.size());
        texts.push_back(CHiveText::ToUtf8(text.substr(start, end - start)));
        start = end + 1;
    }
    return texts;
}

Json Change(const char* kind, const std::string& key) {
    Json change;
    change["change"] = kind;
    change["key"] = kRoot + CHiveText::ToUtf8(key);
    return change;
}
} // namespace

COwnedKeysSnapshot COwnedKeysSnapshot::Take(CHive& hive) {
    COwnedKeysSnapshot snapshot;
    const std::array<std::string, 4> roots = {DriverKeyPath(), SerialServiceKeyPath(),
                                              ClassPortsKeyPath(), EnumRootPortsKeyPath()};
    for (const std::string& root : roots) {
        HiveKeyId id = 0;
        if (hive.FindKey(root, id) == ERROR_SUCCESS) {
            snapshot.Walk(hive, id, root);
        }
    }
    return snapshot;
}

void COwnedKeysSnapshot::Walk(CHive& hive, HiveKeyId key, const std::string& path) {
    std::vector<SHiveValue> values;
    hive.Values(key, values);
    Values& held = m_keys[path];
    for (SHiveValue& value : values) {
        std::string name = value.name;
        held.emplace(std::move(name), std::move(value));
    }
    std::vector<std::string> names;
    hive.SubKeyNames(key, names);
    for (const std::string& name : names) {
        const std::string child = path + "\\" + name;
        HiveKeyId id = 0;
        if (hive.FindKey(child, id) == ERROR_SUCCESS) {
            Walk(hive, id, child);
        }
    }
}

void COwnedKeysSnapshot::Compare(const COwnedKeysSnapshot& before, const COwnedKeysSnapshot& after,
                                 CRegFileChangeLog& log, Json* json) {
    auto add = [json](Json change) {
        if (json != nullptr) {
            json->push_back(std::move(change));
        }
    };
    for (const auto& [path, values] : before.m_keys) {
        // A deleted subtree is told as its top key: the one whose parent is still there (or
        // lies outside what was taken).
        const std::string parent = path.substr(0, path.rfind('\\'));
        if (!after.m_keys.contains(path) &&
            (after.m_keys.contains(parent) || !before.m_keys.contains(parent))) {
            log.KeyDeleted(path);
            add(Change("key-deleted", path));
        }
    }
    for (const auto& [path, values] : after.m_keys) {
        const auto old = before.m_keys.find(path);
        if (old == before.m_keys.end()) {
            log.KeyAdded(path);
            add(Change("key-added", path));
        }
        for (const auto& [name, value] : values) {
            const SHiveValue* previous = nullptr;
            if (old != before.m_keys.end()) {
                const auto found = old->second.find(name);
                previous = found == old->second.end() ? nullptr : &found->second;
            }
            if (previous != nullptr && previous->type == value.type &&
                previous->data == value.data) {
                continue;
            }
            log.ValueSet(path, name);
            Json change = Change("value-set", path);
            change["name"] = CHiveText::ToUtf8(name);
            change["type"] = TypeName(value.type);
            change["old"] = previous == nullptr ? Json() : DataOf(*previous);
            if (previous != nullptr && previous->type != value.type) {
                change["oldType"] = TypeName(previous->type);
            }
            change["new"] = DataOf(value);
            add(std::move(change));
        }
        if (old == before.m_keys.end()) {
            continue;
        }
        for (const auto& [name, value] : old->second) {
            if (!values.contains(name)) {
                log.ValueDeleted(path, name);
                Json change = Change("value-deleted", path);
                change["name"] = CHiveText::ToUtf8(name);
                change["type"] = TypeName(value.type);
                change["old"] = DataOf(value);
                add(std::move(change));
            }
        }
    }
}

Json COwnedKeysSnapshot::Changes(const COwnedKeysSnapshot& before,
                                 const COwnedKeysSnapshot& after) {
    CRegFileChangeLog log;
    Json json = Json::array();
    Compare(before, after, log, &json);
    return json;
}

std::vector<std::string> COwnedKeysSnapshot::Lines(const COwnedKeysSnapshot& before,
                                                   const COwnedKeysSnapshot& after) {
    CRegFileChangeLog log;
    Compare(before, after, log, nullptr);
    return log.Lines();
}

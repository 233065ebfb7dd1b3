#pragma once

#include "hive.h"
#include "regfilechangelog.h"

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <strings.h>
#include <vector>

// What the registry holds under the keys the system owns (the driver key, the serial service
// with its instances and, for Windows 95/98, the ports' class and device keys), taken before and
// after a change so that the change can be told key by key and value by value, in the terms
// `import --dry-run` uses.
class COwnedKeysSnapshot {
public:
    // Keys that cannot be read are left out.
    static COwnedKeysSnapshot Take(CHive& hive);

    // Keys added and deleted (a deleted subtree as its top key), values set (with their type,
    // old and new data) and deleted, as JSON objects.
    static nlohmann::ordered_json Changes(const COwnedKeysSnapshot& before,
                                          const COwnedKeysSnapshot& after);
    // The same as lines, ending with the totals; "no changes" when there are none.
    static std::vector<std::string> Lines(const COwnedKeysSnapshot& before,
                                          const COwnedKeysSnapshot& after);

private:
    struct SCaseless {
        bool operator()(const std::string& a, const std::string& b) const {
            return strcasecmp(a.c_str(), b.c_str()) < 0;
        }
    };
    using Values = std::map<std::string, SHiveValue, SCaseless>;

    void Walk(CHive& hive, HiveKeyId key, const std::string& path);
    // Calls the log's functions and, when json is given, adds one object a change.
    static void Compare(const COwnedKeysSnapshot& before, const COwnedKeysSnapshot& after,
                        CRegFileChangeLog& log, nlohmann::ordered_json* json);

    std::map<std::string, Values, SCaseless> m_keys;
};

#pragma once

#include "hive.h"

#include <cstdint>
#include <string>
#include <vector>

class CSqliteConnection;
class CSqliteQuery;

// The SQL of the registry tree. Every member runs inside a transaction that its caller opened
// and throws CSqliteError when SQLite fails; none of them checks names or faults.
class CHiveStore {
public:
    explicit CHiveStore(CSqliteConnection& connection) : m_connection(connection) {}

    // ERROR_FILE_NOT_FOUND when a key of the path is missing.
    Win32Status FindPath(const std::vector<std::string>& names, HiveKeyId& id);
    // Creates the missing keys of the path; returns how many it created.
    int CreatePath(const std::vector<std::string>& names, HiveKeyId& id);
    bool HasSubKeys(HiveKeyId key);
    void DeleteKey(HiveKeyId key);
    void DeleteTree(HiveKeyId key);
    // The path of a key as its names were created ("" for the root or an unknown key).
    std::string KeyPath(HiveKeyId key);

    // ERROR_FILE_NOT_FOUND for a missing value, ERROR_INVALID_DATA for a row that does not hold
    // a registry value (a file edited by hand).
    Win32Status ReadValue(HiveKeyId key, const std::string& name, SHiveValue& value);
    // An existing value keeps its place and the case of its name. ERROR_KEY_DELETED when the
    // key no longer exists.
    Win32Status WriteValue(HiveKeyId key, const std::string& name, std::uint32_t type,
                           const std::vector<std::uint8_t>& data);
    Win32Status DeleteValue(HiveKeyId key, const std::string& name);
    // In creation order; rows that do not hold a registry value are left out (their names go to
    // unreadable when it is given) and reported as ERROR_INVALID_DATA.
    Win32Status Values(HiveKeyId key, std::vector<SHiveValue>& values,
                       std::vector<std::string>* unreadable);

    // Up to limit sub-keys in case-insensitive name order: from a position (OFFSET, for random
    // access), or after a name (an index seek). These leave out the names that a key path
    // cannot hold, so a hand-edited name never stops a walk.
    void SubKeysAt(HiveKeyId key, std::uint32_t index, std::uint32_t limit,
                   std::vector<std::string>& names);
    void SubKeysAfter(HiveKeyId key, const std::string& previous, std::uint32_t limit,
                      std::vector<std::string>& names);
    void SubKeyNames(HiveKeyId key, std::vector<std::string>& names);
    // Every sub-key, whatever its name.
    void SubKeyEntries(HiveKeyId key, std::vector<SHiveSubKey>& subKeys);

private:
    static void Collect(CSqliteQuery& query, std::vector<std::string>& names);
    bool FindChild(HiveKeyId parent, const std::string& name, HiveKeyId& id);
    CSqliteConnection& m_connection;
};

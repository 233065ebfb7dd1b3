#pragma once

#include "hive.h"

#include <string>
#include <vector>

// The values of one key, read in one statement once a second value of the same key is asked
// for in a row: a key's values are mostly read together (the fields of a record), and one
// statement per value costs several times the reading. Names compare as the table compares
// them (NOCASE: ASCII only). Valid for one transaction and until the next write; the store
// clears it then.
class CSqliteValueCache {
public:
    // Whether a read of key should be served from all its values: from the second read of the
    // same key in a row on.
    bool ReadsWhole(HiveKeyId key);
    bool Holds(HiveKeyId key) const { return m_heldKey == key; }
    // Starts holding the values of key; Add and AddUnreadable fill it.
    void Start(HiveKeyId key);
    void Add(SHiveValue value);
    // A value that ReadValue calls invalid.
    void AddUnreadable(const std::string& name);
    // As the store's ReadValue answers for the key held.
    Win32Status Read(const std::string& name, SHiveValue& value) const;
    void Clear();

private:
    // No key has a negative id.
    static constexpr HiveKeyId kNoKey = -1;
    HiveKeyId m_lastReadKey = kNoKey;
    HiveKeyId m_heldKey = kNoKey;
    // A key holds a few values: a search through them costs less than hashing.
    std::vector<SHiveValue> m_values;
    std::vector<std::string> m_unreadable;
};

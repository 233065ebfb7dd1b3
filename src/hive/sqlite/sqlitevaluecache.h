#pragma once

#include "hive.h"

#include <string>
#include <vector>

// The values of one key, read in one statement at the first read of one of them: a key's values
// are mostly read together (the fields of a record), and a statement of its own for each value
// costs several times the reading of a row. Names compare as the table compares them (NOCASE:
// ASCII only). Valid for one transaction and until the next write; the store clears it then.
class CSqliteValueCache {
public:
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
    HiveKeyId m_heldKey = kNoKey;
    // A key holds a few values: a search through them costs less than hashing.
    std::vector<SHiveValue> m_values;
    std::vector<std::string> m_unreadable;
};

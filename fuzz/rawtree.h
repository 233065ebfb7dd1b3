#pragma once

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>
#include <string>
#include <vector>

// A raw connection to a hive file that builds, from the fuzzer's input, what no registry
// program would write; everything it does runs in one transaction committed on destruction.
class CRawTree {
public:
    CRawTree(const std::string& path, FuzzedDataProvider& data);
    ~CRawTree();
    CRawTree(const CRawTree&) = delete;
    CRawTree& operator=(const CRawTree&) = delete;

    // The id of a key by its path, -1 when there is none.
    sqlite3_int64 Find(const std::string& path);
    // An existing key, now and then an id that names none.
    sqlite3_int64 AnyKey();
    // A new key (the parent when the name is taken).
    sqlite3_int64 Key(sqlite3_int64 parent, const std::string& name);
    // A value of any type, with a plausible text or any bytes.
    void Value(sqlite3_int64 key, const std::string& name);
    // Some of the values the system reads, with any contents.
    void KnownValues(sqlite3_int64 key);
    // Parent cycles and dangling parents.
    void Reparent(sqlite3_int64 key, sqlite3_int64 parent);
    // Removes a key's row alone: its sub-keys and values dangle.
    void Drop(sqlite3_int64 key);

private:
    void Exec(const char* sql) { sqlite3_exec(m_pDb, sql, nullptr, nullptr, nullptr); }
    sqlite3_stmt* Prepare(const char* sql);

    FuzzedDataProvider& m_data;
    sqlite3* m_pDb = nullptr;
    std::vector<sqlite3_int64> m_ids;
    sqlite3_int64 m_seq = 1000;
};

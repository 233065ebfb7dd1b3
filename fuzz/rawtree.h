#pragma once

#include <array>
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
    // A new key (the parent when the name is taken or the parent does not exist).
    sqlite3_int64 Key(sqlite3_int64 parent, const std::string& name);
    // A value of any type, with a plausible text or any bytes.
    void Value(sqlite3_int64 key, const std::string& name);
    // Some of the values the system reads, with any contents.
    void KnownValues(sqlite3_int64 key);
    // Parent cycles and dangling parents: the guard that keeps keys in place goes first.
    void Reparent(sqlite3_int64 key, sqlite3_int64 parent);
    // Removes a key's row alone: its sub-keys and values dangle.
    void Drop(sqlite3_int64 key);

private:
    // The statements, each prepared once: with the schema's triggers, preparing one costs
    // more than running it many times.
    enum EStatement { kFindChild, kInsertKey, kInsertValue, kMoveKey, kDropKey, kStatementCount };

    void Exec(const char* sql) { sqlite3_exec(m_pDb, sql, nullptr, nullptr, nullptr); }
    // Reset and ready for new bindings.
    sqlite3_stmt* Statement(EStatement which);

    FuzzedDataProvider& m_data;
    sqlite3* m_pDb = nullptr;
    std::array<sqlite3_stmt*, kStatementCount> m_statements{};
    bool m_bMovable = false;
    std::vector<sqlite3_int64> m_ids;
    sqlite3_int64 m_seq = 1000;
};

#pragma once

#include "iregistrystore.h"
#include "sqlitevaluecache.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CSqliteConnection;
class CSqliteQuery;

// The registry tree in our own SQLite file (see hive/sqlite/DESIGN.md for the tables). Writing
// transactions begin IMMEDIATE and wait on the connection's busy timeout; a connection that
// only reads cannot take the write lock, so its writes go to temporary tables.
class CSqliteStore : public IRegistryStore {
public:
    // Checks the file and sets up its connection; readOnlyReason says why it cannot be written,
    // empty when it can. Throws CHiveError naming the file and the cause.
    static std::unique_ptr<CSqliteStore> Open(const std::string& path, EHiveOpen mode,
                                              std::string& readOnlyReason);
    // The connection of a hive kept in our own file, for the tables that live beside the
    // registry's (the emulated services); nullptr for a hive kept elsewhere.
    static CSqliteConnection* ConnectionOf(CHive& hive);

    explicit CSqliteStore(std::unique_ptr<CSqliteConnection> connection);
    ~CSqliteStore() override;

    bool Begin(bool write) override;
    bool Commit() override;
    void Rollback() override;
    bool InTransaction() override;
    std::int64_t DataVersion() override;
    std::string FailureReason() const override { return m_failureReason; }

    Win32Status FindPath(HiveKeyId from, std::span<const std::string> names,
                         HiveKeyId& id) override;
    int CreatePath(HiveKeyId from, std::span<const std::string> names, HiveKeyId& id) override;
    bool HasSubKeys(HiveKeyId key) override;
    void DeleteKey(HiveKeyId key) override;
    void DeleteTree(HiveKeyId key) override;
    std::string KeyPath(HiveKeyId key) override;

    Win32Status ReadValue(HiveKeyId key, const std::string& name, SHiveValue& value) override;
    Win32Status WriteValue(HiveKeyId key, const std::string& name, std::uint32_t type,
                           const std::vector<std::uint8_t>& data) override;
    Win32Status DeleteValue(HiveKeyId key, const std::string& name) override;
    Win32Status Values(HiveKeyId key, std::vector<SHiveValue>& values,
                       std::vector<std::string>* unreadable) override;

    // In case-insensitive name order: from a position (OFFSET, for random access), or after a
    // name (an index seek).
    void SubKeysAt(HiveKeyId key, std::uint32_t index, std::uint32_t limit,
                   std::vector<std::string>& names) override;
    void SubKeysAfter(HiveKeyId key, const std::string& previous, std::uint32_t limit,
                      std::vector<std::string>& names) override;
    void SubKeyNames(HiveKeyId key, std::vector<std::string>& names) override;
    void SubKeyEntries(HiveKeyId key, std::vector<SHiveSubKey>& subKeys) override;

private:
    static void Collect(CSqliteQuery& query, std::vector<std::string>& names);
    // Values are cached only inside a transaction this store began, which no other program can
    // change under it; a write or the end of the transaction drops them.
    bool CachesValues();
    void CacheValues(HiveKeyId key);
    void EndTransaction();
    bool FindChild(HiveKeyId parent, const std::string& name, HiveKeyId& id);
    bool TryExec(const char* sql);
    void EndFailedFrames();

    std::unique_ptr<CSqliteConnection> m_pConnection;
    CSqliteConnection& m_connection;
    std::string m_failureReason;
    CSqliteValueCache m_values;
    bool m_bOwnTransaction = false;
};

#pragma once

#include "hive.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A store could not do what was asked (I/O, a lock not granted, damage met while reading).
// Raised inside the hive only: the operations turn it into ERROR_REGISTRY_IO_FAILED.
class CRegistryStoreError : public std::runtime_error {
public:
    // systemError: the operating system's errno behind the failure, 0 when there is none.
    explicit CRegistryStoreError(const std::string& message, int systemError = 0)
        : std::runtime_error(message), m_nSystemError(systemError) {}
    virtual ~CRegistryStoreError() = default;
    int SystemError() const { return m_nSystemError; }
    // The failure in words for the user ("the disk is full"); a store whose errors carry codes
    // of their own words them itself.
    virtual std::string Reason() const { return what(); }

private:
    int m_nSystemError;
};

// Where the tree under HKEY_LOCAL_MACHINE lives: our own SQLite file, or the SYSTEM hive file
// of a Windows installation. CHive checks names, faults and batches above it; a store only keeps
// keys and values. Key 0 is HKEY_LOCAL_MACHINE itself. A key's id stays valid for as long as the
// key exists, also across other programs' changes, and is never given to another key.
//
// The tree operations run inside a transaction their caller began, or alone, and throw
// CRegistryStoreError when the store fails; none of them checks names or faults.
class IRegistryStore {
public:
    virtual ~IRegistryStore() = default;

    // A writing transaction holds the store's write lock until it ends, waiting a while for
    // another process's. false when it cannot begin (the lock was not granted, I/O); why is in
    // FailureReason().
    virtual bool Begin(bool write) = 0;
    // Makes the transaction's changes durable. false when none of them is in the store
    // afterwards. The transaction is over either way.
    virtual bool Commit() = 0;
    // Nothing happens when no transaction is open.
    virtual void Rollback() = 0;
    // false when no transaction is open, also when the store gave one up on its own (disk full,
    // I/O error).
    virtual bool InTransaction() = 0;
    // Moves when another program (or another store object on the same file) commits a change,
    // never for this object's own commits; negative when it cannot be read. No lock is taken.
    virtual std::int64_t DataVersion() = 0;
    // Why the last Begin or Commit failed, in words for the user ("the file is in use by another
    // program"); empty when nothing more specific than a failure is known.
    virtual std::string FailureReason() const = 0;

    // The key at names below the existing key from (0 for a path from HKEY_LOCAL_MACHINE), so
    // that a caller who knows a key on the way need not walk there again.
    // ERROR_FILE_NOT_FOUND when a key of the path is missing.
    virtual Win32Status FindPath(HiveKeyId from, std::span<const std::string> names,
                                 HiveKeyId& id) = 0;
    // Creates the missing keys of the path below from and returns how many it created. Throws
    // when a key cannot be created there (a path that does not exist in the store and never can).
    virtual int CreatePath(HiveKeyId from, std::span<const std::string> names, HiveKeyId& id) = 0;
    virtual bool HasSubKeys(HiveKeyId key) = 0;
    // A key without sub-keys, with its values.
    virtual void DeleteKey(HiveKeyId key) = 0;
    virtual void DeleteTree(HiveKeyId key) = 0;
    // The path of a key from HKEY_LOCAL_MACHINE ("" for the root or an unknown key).
    virtual std::string KeyPath(HiveKeyId key) = 0;

    // ERROR_FILE_NOT_FOUND for a missing value, ERROR_INVALID_DATA for one that does not hold a
    // registry value in this system's terms (a row edited by hand, text that Latin-1 cannot
    // hold). A text value reads as its Latin-1 bytes and a terminating zero.
    virtual Win32Status ReadValue(HiveKeyId key, const std::string& name, SHiveValue& value) = 0;
    // An existing value keeps its place and the case of its name. ERROR_KEY_DELETED when the
    // key no longer exists.
    virtual Win32Status WriteValue(HiveKeyId key, const std::string& name, std::uint32_t type,
                                   const std::vector<std::uint8_t>& data) = 0;
    virtual Win32Status DeleteValue(HiveKeyId key, const std::string& name) = 0;
    // In stored order; values that ReadValue would call invalid are left out (their names go
    // to unreadable when it is given) and make the status ERROR_INVALID_DATA.
    virtual Win32Status Values(HiveKeyId key, std::vector<SHiveValue>& values,
                               std::vector<std::string>* unreadable) = 0;

    // Up to limit sub-keys in enumeration order: from a position, or after a name. These leave
    // out the names that a key path cannot hold, so a hand-edited name never stops a walk.
    virtual void SubKeysAt(HiveKeyId key, std::uint32_t index, std::uint32_t limit,
                           std::vector<std::string>& names) = 0;
    virtual void SubKeysAfter(HiveKeyId key, const std::string& previous, std::uint32_t limit,
                              std::vector<std::string>& names) = 0;
    virtual void SubKeyNames(HiveKeyId key, std::vector<std::string>& names) = 0;
    // Every sub-key, whatever its name.
    virtual void SubKeyEntries(HiveKeyId key, std::vector<SHiveSubKey>& subKeys) = 0;
};

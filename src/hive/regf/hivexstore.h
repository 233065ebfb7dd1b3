#pragma once

#include "filelock.h"
#include "filestamp.h"
#include "hivecells.h"
#include "hivexkeytable.h"
#include "iregistrystore.h"

#include <cstdint>
#include <hivex.h>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

// The SYSTEM hive file of an offline Windows installation as the registry tree, read and written
// through hivex. See hive/regf/DESIGN.md.
//
// HKEY_LOCAL_MACHINE is virtual: its only sub-key is SYSTEM, the hive's root, and
// SYSTEM\CurrentControlSet is the control set that Select\Current names. Text is Latin-1 to
// the system and UTF-16LE in the file. The hive is held in memory; a writing transaction holds
// the file's lock, and its Commit writes the whole hive to a temporary file that is renamed
// over the original (the first one copies the original to FILE.qser-backup). The file is
// loaded again whenever another program has changed it.
class CHivexStore : public IRegistryStore {
public:
    // Whether the file begins with a Windows hive's signature "regf".
    static bool IsHiveFile(const std::string& path);
    // Throws CHiveError (the message names the file and the reason). readOnlyReason is set (and
    // the store then never writes) when the file or its folder cannot be written.
    static std::unique_ptr<CHivexStore> Open(const std::string& path, EHiveOpen mode,
                                             std::string& readOnlyReason);
    // How long Begin(true) waits for another program's lock.
    static constexpr int kLockWaitMs = 3000;
    // hivex writes a value's data as one cell; the system reads larger data as a list of
    // blocks, so larger values are neither written nor rewritten.
    static constexpr std::size_t kMaxCellData = 16344;

    ~CHivexStore() override;
    CHivexStore(const CHivexStore&) = delete;
    CHivexStore& operator=(const CHivexStore&) = delete;

    bool Begin(bool write) override;
    bool Commit() override;
    void Rollback() override;
    bool InTransaction() override { return m_txn != ETxn::None; }
    std::int64_t DataVersion() override;
    std::string FailureReason() const override { return m_failure; }

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

    void SubKeysAt(HiveKeyId key, std::uint32_t index, std::uint32_t limit,
                   std::vector<std::string>& names) override;
    void SubKeysAfter(HiveKeyId key, const std::string& previous, std::uint32_t limit,
                      std::vector<std::string>& names) override;
    void SubKeyNames(HiveKeyId key, std::vector<std::string>& names) override;
    void SubKeyEntries(HiveKeyId key, std::vector<SHiveSubKey>& subKeys) override;

private:
    enum class ETxn { None, Read, Write };
    struct SHiveCloser {
        void operator()(hive_h* hive) const { hivex_close(hive); }
    };
    using HivePtr = std::unique_ptr<hive_h, SHiveCloser>;
    // A sub-key as the hive lists it: its name as hivex gives it (UTF-8) and as the system sees
    // it (Latin-1; bText false when it has no Latin-1 form).
    struct SChild {
        hive_node_h node = 0;
        std::string name;
        std::string latin1;
        bool bText = false;
        bool bUsable = false; // a key path can hold it
    };
    struct SChildren {
        std::vector<SChild> list;
        std::unordered_map<std::string, std::size_t> byFold; // the first of each folded name
    };
    // A value as the hive holds it, name in UTF-8.
    struct SRawValue {
        std::string name;
        std::uint32_t type = REG_NONE;
        std::vector<std::uint8_t> data;
        bool bReadable = false;
        // The name as the system sees it, made once: a load reads every value of a key.
        std::string latin1;
        bool bLatin1 = false;
    };

    CHivexStore(const std::string& path, EHiveOpen mode, const std::string& readOnlyReason);

    // Loads the file; the reason it cannot be used, empty on success.
    std::string Load();
    std::string LoadOnce(bool& changedMeanwhile);
    std::string FindControlSet(hive_h* hive, std::string& controlSet);
    // Outside a transaction, loads the file again when another program changed it. Throws
    // CRegistryStoreError when the file cannot be used.
    void Refresh();
    void ReloadIfChanged();
    // Drops the open transaction's changes: the file is read again.
    void Discard();
    void EndTransaction();
    bool CommitChanges();
    // Runs a change: in the open writing transaction, or in one of its own.
    template <class F> auto Change(F&& body);
    [[noreturn]] void Damaged(const std::string& what) const;
    [[noreturn]] void Impossible(const std::string& what);

    // 0 for HKEY_LOCAL_MACHINE and for a key that is not (or no longer) in the hive.
    hive_node_h Node(HiveKeyId id);
    const SChildren& Children(HiveKeyId key);
    const SChildren& ChildrenOf(hive_node_h node);
    const SChild* FindChild(hive_node_h node, const std::string& name);
    // The hive name of a path component: the alias CurrentControlSet resolved.
    std::string HiveName(HiveKeyId parent, const std::string& latin1) const;
    std::vector<SRawValue> RawValues(hive_node_h node);
    // hivex lists a key's values only all at once, and a load reads them one by one: the values
    // of the key read last are kept until the next change or load.
    const std::vector<SRawValue>& ValuesOf(hive_node_h node);
    void SetValues(HiveKeyId key, hive_node_h node, const std::vector<SRawValue>& values);
    // The cells of the hive as hivex holds it now, made once after each change.
    const CHiveCells& Cells();
    // The hive as hivex holds it: the file itself until a change, else as hivex would write it.
    std::vector<std::uint8_t> Snapshot();
    // Whether hivex made the key in this load: it gave it a cell beyond the file's end then, and
    // only its own cells below it.
    bool MadeHere(hive_node_h node) const { return node >= m_loadedSize; }
    // Before hivex changes the hive in memory: the cells seen last are out of date.
    void Changing();
    // The value of that (Latin-1) name, or -1.
    static int FindValue(const std::vector<SRawValue>& values, const std::string& name);
    static bool ToSystemValue(const SRawValue& raw, SHiveValue& value);
    // Up to limit names a key path can hold, from position from on, after skipping skip of them.
    static void Usable(const SChildren& children, std::size_t from, std::uint32_t skip,
                       std::uint32_t limit, std::vector<std::string>& names);

    const std::string m_path;
    const EHiveOpen m_mode;
    const std::string m_readOnlyReason;
    HivePtr m_pHive;
    hive_node_h m_valuesNode = 0;
    std::vector<SRawValue> m_values;
    std::optional<CHiveCells> m_cells;
    // The file's size when hivex read it, and whether the hive in memory is still the file.
    std::size_t m_loadedSize = 0;
    bool m_bMemoryIsFile = false;
    SFileStamp m_loaded;
    // The latest state of the file that DataVersion counted.
    SFileStamp m_counted;
    std::int64_t m_dataVersion = 0;
    std::string m_controlSet;
    CHivexKeyTable m_keys;
    std::unordered_map<HiveKeyId, hive_node_h> m_nodes;
    std::unordered_map<hive_node_h, SChildren> m_children;
    SChildren m_machineChildren;
    ETxn m_txn = ETxn::None;
    bool m_bChanged = false;
    CFileLock m_lock;
    std::string m_failure;
};

#pragma once

#include "hive.h"
#include "hivebatch.h"
#include "hivefaults.h"
#include "hivekeycache.h"
#include "iregistrystore.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The inside of a hive, shared by CHive, CRegistry and CHiveBatch: the store, the transaction
// of the open batch, faults and the write observer. Every operation checks its names and its
// fault, runs in a transaction, and maps store failures to ERROR_REGISTRY_IO_FAILED. A key path
// argument of nullptr means "look it up if a fault or the observer needs it".
struct CHive::SImpl {
    SImpl(const std::string& file, std::unique_ptr<IRegistryStore> store,
          std::string readOnlyReason, bool windowsHiveFile);

    Win32Status OpenKey(const std::string& path, bool create, HiveKeyId& id,
                        std::size_t* created = nullptr);
    Win32Status DeleteKey(const std::string& path, bool recursive);
    Win32Status ReadValue(HiveKeyId key, const std::string* keyPath, const std::string& name,
                          SHiveValue& value);
    Win32Status WriteValue(HiveKeyId key, const std::string* keyPath, const std::string& name,
                           std::uint32_t type, const std::vector<std::uint8_t>& data);
    Win32Status DeleteValue(HiveKeyId key, const std::string* keyPath, const std::string& name);
    Win32Status Values(HiveKeyId key, const std::string* keyPath, std::vector<SHiveValue>& values,
                       std::vector<std::string>* unreadable);
    // Up to limit sub-keys from a position, or after a name when previous is given.
    Win32Status SubKeys(HiveKeyId key, const std::string* keyPath, std::uint32_t index,
                        const std::string* previous, std::uint32_t limit,
                        std::vector<std::string>& names);
    Win32Status SubKeyNames(HiveKeyId key, const std::string* keyPath,
                            std::vector<std::string>& names);
    Win32Status SubKeyEntries(HiveKeyId key, std::vector<SHiveSubKey>& subKeys);

    bool ChangedSinceLastLook();

    // Changes whenever keys may have appeared or vanished (created, deleted, rolled back), so
    // that cached enumeration positions are dropped.
    std::uint64_t Generation() const { return m_generation; }
    // The store itself, for what lives beside the registry in a store's file (the emulated
    // services' table in our own).
    IRegistryStore& Store() { return m_store; }
    // Why the last failed commit or lock failed, when the store knows more than that it failed.
    std::string FailureReason() const { return m_pStore->FailureReason(); }

    // The injected failure for an operation that the caller serves without the store.
    Win32Status Fault(ERegOp op, HiveKeyId key, const std::string* keyPath,
                      const std::string& name);

    void BeginBatch(EBatchAccess access);
    // Ends the innermost batch; only the outermost commits or rolls back.
    ECommitStatus EndBatch(bool commit);

    const std::string m_path;
    const bool m_bWindowsHiveFile;
    // Empty when the file can be written.
    const std::string m_readOnlyReason;
    CHiveFaults m_faults;
    std::function<void(const SHiveWrite&)> m_observer;
    // The first failure of the store since the outermost batch began (CHive::StoreFailure).
    std::string m_storeFailure;

private:
    enum class ETxn { Single, Read, Write };
    enum class EBatch { Idle, Open, Failed, Doomed };

    template <class F> Win32Status Run(ETxn kind, F&& body) {
        if (kind == ETxn::Write && (!m_readOnlyReason.empty() || m_bReadingBatch)) {
            return ERROR_ACCESS_DENIED;
        }
        Win32Status status = Begin(kind);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        try {
            status = body();
        } catch (const CRegistryStoreError& error) {
            // A change the store could not make is reported as a failed write.
            if (kind != ETxn::Write) {
                NoteFailure(error.Reason());
            }
            Abandon();
            return ERROR_REGISTRY_IO_FAILED;
        } catch (...) {
            Abandon();
            throw;
        }
        return Finish(kind, status);
    }
    // Keeps the first failure only: later ones follow from it.
    void NoteFailure(const std::string& reason);
    Win32Status Begin(ETxn kind);
    Win32Status Finish(ETxn kind, Win32Status status);
    void Abandon();
    void RollbackTransaction();
    ECommitStatus CommitBatch();

    // Finds (or, with create, makes) the key at path through the key cache: a batch holds the
    // file from its first operation to its end, so the ids it found stay valid until a key is
    // deleted or the batch's transaction ends. Outside a batch every walk starts at the root.
    Win32Status WalkPath(const std::string& path, const std::vector<std::string>& names,
                         bool create, HiveKeyId& id, int& made);
    Win32Status WalkRest(HiveKeyId from, std::span<const std::string> rest, bool create,
                         HiveKeyId& id, int& made);

    const std::string& KeyPathFor(HiveKeyId key, const std::string* keyPath, std::string& lookedUp);
    void Notify(ERegOp op, HiveKeyId key, const std::string* keyPath, const std::string& name,
                std::uint32_t type, const std::vector<std::uint8_t>& data);

    std::unique_ptr<IRegistryStore> m_pStore;
    IRegistryStore& m_store;
    CHiveKeyCache m_keys;
    std::uint64_t m_generation = 0;
    std::int64_t m_lookedVersion = -1;
    int m_batchDepth = 0;
    EBatch m_batch = EBatch::Idle;
    // The outermost batch only reads (EBatchAccess::Read).
    bool m_bReadingBatch = false;
};

#include "hiveimpl.h"

#include "hivefile.h"
#include "hivepath.h"

CHive::SImpl::SImpl(const std::string& file, std::unique_ptr<IRegistryStore> store,
                    std::string readOnlyReason, bool windowsHiveFile)
    : m_path(file), m_bWindowsHiveFile(windowsHiveFile),
      m_readOnlyReason(std::move(readOnlyReason)), m_pStore(std::move(store)), m_store(*m_pStore) {}

// ---- transactions

void CHive::SImpl::NoteFailure(const std::string& reason) {
    if (!m_storeFailure.empty()) {
        return;
    }
    // The Windows hive file's store names the file itself.
    const bool named = reason.find("'" + m_path + "'") != std::string::npos;
    m_storeFailure =
        named ? reason
              : CHiveFile::Refusal(m_path, reason.empty() ? "it could not be read" : reason).what();
}

void CHive::SImpl::RollbackTransaction() {
    m_store.Rollback();
    m_keys.Clear();
    ++m_generation;
}

Win32Status CHive::SImpl::Begin(ETxn kind) {
    if (m_batchDepth > 0) {
        if (m_batch == EBatch::Idle) {
            // The whole action holds the write lock from its first operation on. A file that
            // cannot be written is only read: Run refuses its writes before they reach the store.
            m_batch = m_store.Begin(m_readOnlyReason.empty() && !m_bReadingBatch) ? EBatch::Open
                                                                                  : EBatch::Failed;
            if (m_batch == EBatch::Failed) {
                NoteFailure(m_store.FailureReason());
            }
        }
        return m_batch == EBatch::Open ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
    }
    if (kind == ETxn::Single) {
        return ERROR_SUCCESS;
    }
    if (!m_store.Begin(kind == ETxn::Write)) {
        if (kind == ETxn::Read) {
            NoteFailure(m_store.FailureReason());
        }
        return ERROR_REGISTRY_IO_FAILED;
    }
    return ERROR_SUCCESS;
}

Win32Status CHive::SImpl::Finish(ETxn kind, Win32Status status) {
    if (m_batchDepth > 0) {
        if (!m_store.InTransaction()) {
            // The store gave up the transaction on its own (disk full, I/O error).
            if (kind != ETxn::Write) {
                NoteFailure(m_store.FailureReason());
            }
            m_batch = EBatch::Failed;
            m_keys.Clear();
            ++m_generation;
            return ERROR_REGISTRY_IO_FAILED;
        }
        return status;
    }
    if (kind == ETxn::Single) {
        return status;
    }
    if (kind == ETxn::Write && status != ERROR_SUCCESS) {
        RollbackTransaction();
        return status;
    }
    if (!m_store.Commit()) {
        if (kind == ETxn::Read) {
            NoteFailure(m_store.FailureReason());
        }
        ++m_generation;
        return ERROR_REGISTRY_IO_FAILED;
    }
    return status;
}

void CHive::SImpl::Abandon() {
    RollbackTransaction();
    if (m_batchDepth > 0) {
        m_batch = EBatch::Failed;
    }
}

void CHive::SImpl::BeginBatch(EBatchAccess access) {
    if (m_batchDepth++ == 0) {
        m_batch = EBatch::Idle;
        m_bReadingBatch = access == EBatchAccess::Read;
        m_storeFailure.clear();
    }
}

ECommitStatus CHive::SImpl::EndBatch(bool commit) {
    if (m_batchDepth > 1) {
        --m_batchDepth;
        if (!commit && m_batch == EBatch::Open) {
            RollbackTransaction();
        }
        if (!commit) {
            m_batch = EBatch::Doomed;
        }
        return m_batch == EBatch::Failed ? ECommitStatus::Lost : ECommitStatus::Committed;
    }
    ECommitStatus status = ECommitStatus::Lost;
    if (commit) {
        status = CommitBatch();
    } else if (m_batch == EBatch::Open) {
        RollbackTransaction();
    }
    m_batchDepth = 0;
    m_batch = EBatch::Idle;
    m_bReadingBatch = false;
    // Once the file is let go, another program may delete and create keys.
    m_keys.Clear();
    return status;
}

ECommitStatus CHive::SImpl::CommitBatch() {
    switch (m_batch) {
    case EBatch::Idle:
        return ECommitStatus::Committed;
    case EBatch::Open:
        if (m_store.Commit()) {
            return ECommitStatus::Committed;
        }
        ++m_generation;
        break;
    case EBatch::Failed:
        break;
    case EBatch::Doomed:
        return ECommitStatus::Lost;
    }
    return ECommitStatus::WriteFailed;
}

// ---- faults and the observer

const std::string& CHive::SImpl::KeyPathFor(HiveKeyId key, const std::string* keyPath,
                                            std::string& lookedUp) {
    if (keyPath != nullptr) {
        return *keyPath;
    }
    try {
        lookedUp = m_store.KeyPath(key);
    } catch (const CRegistryStoreError&) {
        lookedUp.clear();
    }
    return lookedUp;
}

Win32Status CHive::SImpl::Fault(ERegOp op, HiveKeyId key, const std::string* keyPath,
                                const std::string& name) {
    if (m_faults.Empty()) {
        return ERROR_SUCCESS;
    }
    std::string lookedUp;
    return m_faults.Check(op, KeyPathFor(key, keyPath, lookedUp), name);
}

void CHive::SImpl::Notify(ERegOp op, HiveKeyId key, const std::string* keyPath,
                          const std::string& name, std::uint32_t type,
                          const std::vector<std::uint8_t>& data) {
    if (!m_observer) {
        return;
    }
    std::string lookedUp;
    m_observer(SHiveWrite{op, KeyPathFor(key, keyPath, lookedUp), name, type, data});
}

// ---- key paths

Win32Status CHive::SImpl::WalkPath(const std::string& path, const std::vector<std::string>& names,
                                   bool create, HiveKeyId& id, int& made) {
    if (m_batchDepth == 0) {
        return WalkRest(0, names, create, id, made);
    }
    // Split refused empty names, so path is its names joined and folds as the cache keys it.
    const std::string folded = CHivePath::Fold(path);
    HiveKeyId from = 0;
    const std::size_t known = m_keys.Resolve(folded, from);
    Win32Status status = WalkRest(from, std::span(names).subspan(known), create, id, made);
    if (status == ERROR_SUCCESS) {
        m_keys.Remember(folded, id);
    }
    return status;
}

Win32Status CHive::SImpl::WalkRest(HiveKeyId from, std::span<const std::string> rest, bool create,
                                   HiveKeyId& id, int& made) {
    if (rest.empty()) {
        id = from;
        return ERROR_SUCCESS;
    }
    if (!create) {
        return m_store.FindPath(from, rest, id);
    }
    made = m_store.CreatePath(from, rest, id);
    return ERROR_SUCCESS;
}

// ---- operations

Win32Status CHive::SImpl::OpenKey(const std::string& path, bool create, HiveKeyId& id,
                                  std::size_t* created) {
    // A path this batch has opened before is valid and its key exists: the cache is emptied
    // whenever either could change, and it is only filled while the batch's transaction is open.
    if (HiveKeyId known = 0; m_batchDepth > 0 && m_keys.Find(CHivePath::Fold(path), known)) {
        const Win32Status status = m_faults.Check(ERegOp::OpenKey, path, std::string());
        if (status == ERROR_SUCCESS) {
            id = known;
            if (created != nullptr) {
                *created = 0;
            }
        }
        return status;
    }
    std::vector<std::string> names;
    Win32Status status = CHivePath::Split(path, names);
    if (status == ERROR_SUCCESS) {
        status = m_faults.Check(ERegOp::OpenKey, path, std::string());
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    int made = 0;
    if (!create || !m_readOnlyReason.empty()) {
        Win32Status found = Run(ETxn::Read, [&] { return WalkPath(path, names, false, id, made); });
        // Creating a key in a file that cannot be written is refused, opening one is not.
        return create && found == ERROR_FILE_NOT_FOUND ? ERROR_ACCESS_DENIED : found;
    }
    return Run(ETxn::Write, [&] {
        WalkPath(path, names, true, id, made);
        if (made > 0) {
            ++m_generation;
        }
        if (created != nullptr) {
            *created = static_cast<std::size_t>(made);
        }
        return ERROR_SUCCESS;
    });
}

Win32Status CHive::SImpl::DeleteKey(const std::string& path, bool recursive) {
    std::vector<std::string> names;
    Win32Status status = CHivePath::Split(path, names);
    if (status == ERROR_SUCCESS && names.empty()) {
        status = ERROR_INVALID_PARAMETER; // the root is never deleted
    }
    if (status == ERROR_SUCCESS) {
        status = m_faults.Check(ERegOp::DeleteKey, path, std::string());
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return Run(ETxn::Write, [&] {
        HiveKeyId key = 0;
        int made = 0;
        Win32Status found = WalkPath(path, names, false, key, made);
        if (found != ERROR_SUCCESS) {
            return found;
        }
        if (recursive) {
            m_keys.Clear();
            m_store.DeleteTree(key);
        } else if (m_store.HasSubKeys(key)) {
            return ERROR_ACCESS_DENIED;
        } else {
            m_keys.Clear();
            m_store.DeleteKey(key);
        }
        ++m_generation;
        Notify(ERegOp::DeleteKey, key, &path, std::string(), REG_NONE, {});
        return ERROR_SUCCESS;
    });
}

Win32Status CHive::SImpl::ReadValue(HiveKeyId key, const std::string* keyPath,
                                    const std::string& name, SHiveValue& value) {
    Win32Status status = Fault(ERegOp::ReadValue, key, keyPath, name);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return Run(ETxn::Single, [&] { return m_store.ReadValue(key, name, value); });
}

Win32Status CHive::SImpl::WriteValue(HiveKeyId key, const std::string* keyPath,
                                     const std::string& name, std::uint32_t type,
                                     const std::vector<std::uint8_t>& data) {
    Win32Status status = Fault(ERegOp::WriteValue, key, keyPath, name);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return Run(ETxn::Write, [&] {
        Win32Status written = m_store.WriteValue(key, name, type, data);
        if (written == ERROR_SUCCESS) {
            Notify(ERegOp::WriteValue, key, keyPath, name, type, data);
        }
        return written;
    });
}

Win32Status CHive::SImpl::DeleteValue(HiveKeyId key, const std::string* keyPath,
                                      const std::string& name) {
    Win32Status status = Fault(ERegOp::WriteValue, key, keyPath, name);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return Run(ETxn::Write, [&] {
        Win32Status deleted = m_store.DeleteValue(key, name);
        if (deleted == ERROR_SUCCESS) {
            Notify(ERegOp::DeleteKey, key, keyPath, name, REG_NONE, {});
        }
        return deleted;
    });
}

Win32Status CHive::SImpl::Values(HiveKeyId key, const std::string* keyPath,
                                 std::vector<SHiveValue>& values,
                                 std::vector<std::string>* unreadable) {
    Win32Status status = Fault(ERegOp::ReadValue, key, keyPath, std::string());
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return Run(ETxn::Single, [&] { return m_store.Values(key, values, unreadable); });
}

Win32Status CHive::SImpl::SubKeys(HiveKeyId key, const std::string* keyPath, std::uint32_t index,
                                  const std::string* previous, std::uint32_t limit,
                                  std::vector<std::string>& names) {
    Win32Status status = Fault(ERegOp::EunmKey, key, keyPath, std::string());
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return Run(ETxn::Single, [&] {
        if (previous != nullptr) {
            m_store.SubKeysAfter(key, *previous, limit, names);
        } else {
            m_store.SubKeysAt(key, index, limit, names);
        }
        return ERROR_SUCCESS;
    });
}

bool CHive::SImpl::ChangedSinceLastLook() {
    std::int64_t version = -1;
    Run(ETxn::Single, [&] {
        version = m_store.DataVersion();
        return ERROR_SUCCESS;
    });
    if (version < 0) {
        return false;
    }
    const bool changed = m_lookedVersion >= 0 && version != m_lookedVersion;
    m_lookedVersion = version;
    return changed;
}

Win32Status CHive::SImpl::SubKeyNames(HiveKeyId key, const std::string* keyPath,
                                      std::vector<std::string>& names) {
    Win32Status status = Fault(ERegOp::EunmKey, key, keyPath, std::string());
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return Run(ETxn::Single, [&] {
        m_store.SubKeyNames(key, names);
        return ERROR_SUCCESS;
    });
}

Win32Status CHive::SImpl::SubKeyEntries(HiveKeyId key, std::vector<SHiveSubKey>& subKeys) {
    Win32Status status = Fault(ERegOp::EunmKey, key, nullptr, std::string());
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return Run(ETxn::Single, [&] {
        m_store.SubKeyEntries(key, subKeys);
        return ERROR_SUCCESS;
    });
}

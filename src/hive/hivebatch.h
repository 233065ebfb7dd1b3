#pragma once

#include <string>

class CHive;

// What became of a batch's operations at Commit(). The hive shows no message for any of them:
// whoever ends the user action reports a WriteFailed.
enum class ECommitStatus {
    // In the hive; for an inner batch, joined to the outer one, whose own Commit() tells what
    // became of the whole.
    Committed,
    // Lost because the store could not be written: the outermost commit failed, or SQLite
    // abandoned the transaction earlier (disk full, I/O error).
    WriteFailed,
    // Lost for a reason reported where it arose: an inner batch ended without Commit(), this
    // inner batch is part of one the store abandoned (its outermost Commit says WriteFailed), or
    // the batch had already ended.
    Lost,
};

// Whether a batch may write. A reading batch takes no write lock: it holds one snapshot of the
// file, so that its keys are found once, and any write in it is refused (ERROR_ACCESS_DENIED).
// Nested in a writing batch it simply joins it.
enum class EBatchAccess { Write, Read };

// One user action: every registry operation made while the outermost batch of a hive is alive
// commits together, once, or not at all. The write transaction begins (IMMEDIATE) at the first
// operation, so an action that never touches the registry takes no lock. Batches nest: an inner
// batch joins the outer one, and only the outermost commits.
//
// Destroying the outermost batch without Commit() rolls everything back; an inner batch
// destroyed without Commit() makes the whole batch roll back. If SQLite itself abandons the
// transaction (disk full, I/O error), the remaining operations of the batch fail.
class CHiveBatch {
public:
    // null: the current hive
    explicit CHiveBatch(CHive* hive = nullptr, EBatchAccess access = EBatchAccess::Write);
    ~CHiveBatch();
    CHiveBatch(const CHiveBatch&) = delete;
    CHiveBatch& operator=(const CHiveBatch&) = delete;

    ECommitStatus Commit();
    void Rollback();
    // After a WriteFailed: why, when the store knows more than that it failed ("the file is in
    // use by another program"); otherwise empty.
    std::string FailureReason() const;

private:
    CHive* m_pHive;
    bool m_bDone = false;
};

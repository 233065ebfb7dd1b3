#pragma once

class CHive;

// One user action: every registry operation made while the outermost batch of a hive is alive
// commits together, once, or not at all. The write transaction begins (IMMEDIATE) at the first
// operation, so an action that never touches the registry takes no lock. Batches nest: an inner
// batch joins the outer one, and only the outermost commits. OK message boxes raised while a
// batch is open are shown, in order, after it ends.
//
// Destroying the outermost batch without Commit() rolls everything back; an inner batch
// destroyed without Commit() makes the whole batch roll back. If SQLite itself abandons the
// transaction (disk full, I/O error), the remaining operations of the batch fail.
class CHiveBatch {
public:
    explicit CHiveBatch(CHive* hive = nullptr); // null: the current hive
    ~CHiveBatch();
    CHiveBatch(const CHiveBatch&) = delete;
    CHiveBatch& operator=(const CHiveBatch&) = delete;

    // Returns false (and reports "Unable to write to registry") when the commit failed.
    bool Commit();
    void Rollback();

private:
    CHive* m_pHive;
    bool m_bDone = false;
};

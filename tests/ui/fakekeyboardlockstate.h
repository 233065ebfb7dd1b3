#pragma once

#include "ikeyboardlockstate.h"

// Lock keys as a test sets them; counts how often they were read.
class CFakeKeyboardLockState : public IKeyboardLockState {
public:
    SKeyboardLocks Read() const override {
        ++m_reads;
        return m_locks;
    }
    void Set(const SKeyboardLocks& locks) { m_locks = locks; }
    int Reads() const { return m_reads; }

private:
    SKeyboardLocks m_locks;
    mutable int m_reads = 0;
};

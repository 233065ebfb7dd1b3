#pragma once

// The state of the keyboard's lock keys, for the CAP, NUM and SCRL indicators of the status bar.
struct SKeyboardLocks {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
    bool operator==(const SKeyboardLocks&) const = default;
};

// Reads the lock keys' state. Where the windowing system cannot tell (no X11), every lock reads
// as off.
class IKeyboardLockState {
public:
    virtual ~IKeyboardLockState() = default;
    virtual SKeyboardLocks Read() const = 0;
};

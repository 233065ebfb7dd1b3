#pragma once

#include "ikeyboardlockstate.h"

// The lock keys as the X server's keyboard extension reports its named indicators ("Caps Lock",
// "Num Lock", "Scroll Lock"), through the application's X11 connection. Without one (offscreen,
// Wayland) every lock reads as off. Needs a QGuiApplication.
class CX11KeyboardLockState : public IKeyboardLockState {
public:
    SKeyboardLocks Read() const override;
};

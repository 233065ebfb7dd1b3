#include "x11keyboardlockstate.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace {
bool IndicatorOn(Display* display, const char* name) {
    Atom atom = XInternAtom(display, name, True);
    if (atom == None) {
        return false;
    }
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
        return false;
    }
    return on != False;
}
} // namespace

SKeyboardLocks CX11KeyboardLockState::Read() const {
    auto* x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 == nullptr ? nullptr : x11->display();
    if (display == nullptr) {
        return {};
    }
    return {IndicatorOn(display, "Caps Lock"), IndicatorOn(display, "Num Lock"),
            IndicatorOn(display, "Scroll Lock")};
}

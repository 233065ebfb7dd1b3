#pragma once

#include <QString>

class CTreeBrowserBar;
class QMainWindow;

// The window as the person left it, for the next start: its geometry, which bars are shown and
// where with their sizes, the width the tree bar takes when docked, and the registry files opened
// last. Kept in an INI file of its own ("QSER/session.ini" in the generic configuration location)
// beside the application's profile, which holds only the values the original wrote. A missing,
// damaged or foreign file gives the window its defaults.
class CWindowSession {
public:
    static QString Path();
    // Puts the window back as saved, before it is first shown. false, with the window
    // untouched, when no usable geometry was saved; bars whose saved state is not usable keep
    // their defaults.
    static bool Restore(QMainWindow& window, CTreeBrowserBar& tree);
    static void Save(const QMainWindow& window, const CTreeBrowserBar& tree);
};

#pragma once

#include <QString>

class QWidget;

// File Import and a .reg file dropped on the window: the configuration lives only in the
// registry, so a .reg file is imported into it, all or nothing. Before asking, the import is
// tried and rolled back, and the question lists what it would change; the import itself is
// one user action that Undo takes back.
class CRegFileOpen {
public:
    // Asks for a .reg file; an empty name when the person cancelled.
    static QString AskFileName(QWidget* parent);
    // Reads the file, shows what it would change and asks; on Yes imports it, loads the
    // configuration again and marks it changed, so that closing registers what was imported.
    // Returns what was done, for the status bar ("Imported x.reg: 2 keys added, ..."); empty
    // when nothing was imported (failures have been reported).
    static QString Import(const QString& fileName);

    // How many lines of changes the question lists before it says how many more there are.
    static constexpr int kListedChanges = 20;
};

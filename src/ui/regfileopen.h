#pragma once

#include <QString>

class QWidget;

// File Open: the configuration lives only in the registry, so opening means importing a .reg
// file into it, all or nothing, after the person agreed.
class CRegFileOpen {
public:
    // Asks for a .reg file; an empty name when the person cancelled.
    static QString AskFileName(QWidget* parent);
    // Asks whether to import the file and imports it into the current hive. true when the
    // registry changed; failures have been reported.
    static bool Import(const QString& fileName);
};

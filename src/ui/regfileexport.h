#pragma once

#include <QString>

class QWidget;

// File Export: writes the driver key, or the whole registry, as a REGEDIT4 .reg file that the
// registry editor of the target machine merges. What the format cannot carry is named in one
// message; a file that cannot be written is reported with the reason and left as it was.
class CRegFileExport {
public:
    enum class EWhat { DriverKey, WholeRegistry };

    // Asks for the file and what to export; returns what was done, for the status bar ("Exported
    // the driver key to x.reg"), or empty when cancelled or failed (failures have been shown).
    static QString AskAndExport(QWidget* parent);
    // Exports to fileName; the same result.
    static QString Export(const QString& fileName, EWhat what);
};

#pragma once

#include <QString>

class QWidget;

// File Compare With: the differences between the configuration in the registry and the one a
// file holds (of any kind a configuration is read from), as an administrator sees them, in a
// list the person reads and copies. It only reads, also on a registry opened read-only.
class CCompareWith {
public:
    // Reads the file and shows the differences; a file that cannot be read is reported instead.
    static void Show(QWidget* parent, const QString& fileName);

    // The dialog's title (%1: the file's name).
    static constexpr const char* kTitle = "Compare With %1";
};

#pragma once

#include <QString>

// The application's profile: an INI file in the user's configuration folder
// (QStandardPaths' generic configuration location, folder "QSER", file "qser.ini").
class CAppProfile {
public:
    static QString Path();
    static void WriteProfileInt(const QString& section, const QString& entry, int value);
};

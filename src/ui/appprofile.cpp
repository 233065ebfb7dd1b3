#include "appprofile.h"

#include <QSettings>
#include <QStandardPaths>

QString CAppProfile::Path() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/QSER/qser.ini");
}

void CAppProfile::WriteProfileInt(const QString& section, const QString& entry, int value) {
    QSettings settings(Path(), QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + entry, value);
}

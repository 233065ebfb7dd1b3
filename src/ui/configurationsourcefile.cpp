#include "configurationsourcefile.h"

#include "configurationsource.h"
#include "hivetext.h"
#include "latin1text.h"
#include "messageservice.h"
#include "platformfamily.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

QString CConfigurationSourceFile::AskFileName(QWidget* parent, const QString& title) {
    return QFileDialog::getOpenFileName(
        parent, title, QString(),
        QStringLiteral("Configurations (*.json *.reg *.db SYSTEM system);;Configuration files "
                       "(*.json);;Registration files (*.reg);;Registry files (*.db);;Windows "
                       "SYSTEM hive files (SYSTEM system);;All files (*)"));
}

std::optional<nlohmann::ordered_json> CConfigurationSourceFile::Read(const QString& fileName) {
    try {
        return CConfigurationSource::Read(QFile::encodeName(fileName).toStdString(),
                                          CPlatformFamily::Get());
    } catch (const CSourceError& error) {
        CMessageService::Error(ForMessage(error.what()));
    }
    return std::nullopt;
}

std::string CConfigurationSourceFile::Shown(const QString& fileName) {
    return CLatin1Text::FromQt(QFileInfo(fileName).fileName());
}

std::string CConfigurationSourceFile::ForMessage(const std::string& utf8) {
    std::string latin1;
    return CHiveText::FromUtf8(utf8, latin1) ? latin1 : utf8;
}

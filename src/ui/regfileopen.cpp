#include "regfileopen.h"

#include "hive.h"
#include "latin1text.h"
#include "messageservice.h"
#include "regfileimporter.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <cstdint>
#include <span>

QString CRegFileOpen::AskFileName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Import"), QString(),
                                        QStringLiteral("Registration Files (*.reg)"));
}

bool CRegFileOpen::Import(const QString& fileName) {
    const std::string shown = CLatin1Text::FromQt(QFileInfo(fileName).fileName());
    if (!CMessageService::Confirm("Import " + shown +
                                  " into the registry and load the configuration again?")) {
        return false;
    }
    QFile file(fileName);
    CHive* hive = CHive::Current();
    if (hive == nullptr || !file.open(QIODevice::ReadOnly)) {
        CMessageService::Error("Unable to read " + shown);
        return false;
    }
    const QByteArray bytes = file.readAll();
    CRegFileImporter importer(*hive);
    if (!importer.Import(shown, std::span<const std::uint8_t>(
                                    reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())))) {
        CMessageService::Error(importer.Error());
        return false;
    }
    return true;
}

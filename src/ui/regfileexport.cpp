#include "regfileexport.h"

#include "hive.h"
#include "latin1text.h"
#include "messageservice.h"
#include "regfilewriter.h"
#include "stringtable.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const QString kDriverKeyFilter = QStringLiteral("Driver key, registration file (*.reg)");
const QString kWholeFilter = QStringLiteral("Whole registry, registration file (*.reg)");
} // namespace

QString CRegFileExport::AskAndExport(QWidget* parent) {
    QString filter = kDriverKeyFilter;
    QString fileName = QFileDialog::getSaveFileName(
        parent, QStringLiteral("Export"), QStringLiteral("qser.reg"),
        kDriverKeyFilter + QStringLiteral(";;") + kWholeFilter, &filter);
    if (fileName.isEmpty()) {
        return {};
    }
    if (QFileInfo(fileName).suffix().isEmpty()) {
        fileName += QStringLiteral(".reg");
    }
    return Export(fileName, filter == kWholeFilter ? EWhat::WholeRegistry : EWhat::DriverKey);
}

QString CRegFileExport::Export(const QString& fileName, EWhat what) {
    CHive* hive = CHive::Current();
    if (hive == nullptr) {
        return {};
    }
    const std::string path = what == EWhat::DriverKey ? DriverKeyPath() : std::string();
    std::string text;
    CRegFileWriter writer(*hive);
    const Win32Status status = writer.Write(path, text);
    const std::string shown = CLatin1Text::FromQt(QFileInfo(fileName).fileName());
    if (status == ERROR_FILE_NOT_FOUND) {
        CMessageService::Error("Nothing to export: the registry has no driver key " + path);
        return {};
    }
    if (status != ERROR_SUCCESS) {
        CMessageService::Error("The registry cannot be read (error " + std::to_string(status) +
                               "); " + shown + " was not written");
        return {};
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        CMessageService::Error("Unable to write " + shown + ": " +
                               CLatin1Text::FromQt(file.errorString()));
        return {};
    }
    if (!writer.LeftOut().empty()) {
        std::string leftOut = "Not exported, since a .reg file cannot carry it:";
        for (const std::string& line : writer.LeftOut()) {
            leftOut += "\n" + line;
        }
        CMessageService::Notice(leftOut);
    }
    return QStringLiteral("Exported %1 to %2")
        .arg(what == EWhat::DriverKey ? QStringLiteral("the driver key")
                                      : QStringLiteral("the whole registry"),
             QFileInfo(fileName).absoluteFilePath());
}

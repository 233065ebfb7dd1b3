#include "regfileopen.h"

#include "appcontext.h"
#include "hive.h"
#include "hivebatch.h"
#include "latin1text.h"
#include "messageservice.h"
#include "qserdoc.h"
#include "regfileimporter.h"
#include "regfilereach.h"
#include "regfilereader.h"
#include "undohistory.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <span>

namespace {
std::string Listed(const std::vector<std::string>& lines) {
    std::string text;
    const std::size_t listed =
        std::min<std::size_t>(lines.size() - 1, CRegFileOpen::kListedChanges);
    for (std::size_t i = 0; i < listed; ++i) {
        text += lines[i] + "\n";
    }
    if (lines.size() - 1 > listed) {
        text += "... and " + std::to_string(lines.size() - 1 - listed) + " more\n";
    }
    return text + lines.back();
}

// The changes the import would make, found by making them in a batch that is rolled back, so
// that the question waits on the person with nothing locked.
bool Preview(CHive& hive, const std::string& shown,
             const std::vector<SRegFileOperation>& operations, std::vector<std::string>& lines) {
    CHiveBatch trial(&hive);
    CRegFileImporter importer(hive);
    const bool applied = importer.Apply(shown, operations);
    trial.Rollback();
    if (!applied) {
        CMessageService::Error(importer.Error());
        return false;
    }
    lines = importer.Changes().Lines();
    return true;
}
} // namespace

QString CRegFileOpen::AskFileName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Import"), QString(),
                                        QStringLiteral("Registration Files (*.reg)"));
}

QString CRegFileOpen::Import(const QString& fileName) {
    const std::string shown = CLatin1Text::FromQt(QFileInfo(fileName).fileName());
    QFile file(fileName);
    CHive* hive = CHive::Current();
    if (hive == nullptr || !file.open(QIODevice::ReadOnly)) {
        CMessageService::Error("Unable to read " + shown + ": " +
                               CLatin1Text::FromQt(file.errorString()));
        return {};
    }
    const QByteArray bytes = file.readAll();
    CRegFileReader reader(shown);
    if (!reader.Read(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())))) {
        CMessageService::Error(reader.Error());
        return {};
    }
    std::vector<std::string> lines;
    if (!Preview(*hive, shown, reader.Operations(), lines) ||
        !CMessageService::Confirm("Import " + shown +
                                  " into the registry and load the configuration again?\n\n" +
                                  Listed(lines))) {
        return {};
    }
    CRegFileImporter importer(*hive);
    bool imported = false;
    const bool kept = CUndoHistory::Run(
        "Import",
        [&] {
            imported = importer.Apply(shown, reader.Operations());
            if (!imported) {
                CMessageService::Error(importer.Error());
                return;
            }
            // The records follow the registry; the views are not told of another program.
            if (CQSERDoc* doc = CAppContext::ActiveDocument()) {
                doc->ReloadConfiguration(EReloadCause::UnwrittenAction);
                doc->m_bConfigChanged = 1;
            }
        },
        CRegFileReach::Roots(*hive, reader.Operations()));
    if (!kept || !imported) {
        return {};
    }
    return QStringLiteral("Imported %1: %2")
        .arg(QFileInfo(fileName).fileName(), CLatin1Text::ToQt(importer.Changes().Lines().back()));
}

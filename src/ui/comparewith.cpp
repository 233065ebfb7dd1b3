#include "comparewith.h"

#include "configurationdiff.h"
#include "configurationsource.h"
#include "configurationsourcefile.h"
#include "messageservice.h"
#include "reportdialog.h"
#include "useraction.h"

#include <QFileInfo>

namespace {
using Json = nlohmann::ordered_json;

// What the registry holds now, as Apply Configuration compares it: loaded afresh by an action
// that is never committed (a load may write a missing driver key).
std::optional<Json> Current() {
    CUserAction look;
    try {
        return CConfigurationSource::Loaded();
    } catch (const CSourceError& error) {
        CMessageService::Error(CConfigurationSourceFile::ForMessage(error.what()));
    }
    return std::nullopt;
}

QString Joined(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) {
        text += QString::fromStdString(line) + QLatin1Char('\n');
    }
    return text;
}
} // namespace

void CCompareWith::Show(QWidget* parent, const QString& fileName) {
    const std::optional<Json> other = CConfigurationSourceFile::Read(fileName);
    if (!other) {
        return;
    }
    const std::optional<Json> current = Current();
    if (!current) {
        return;
    }
    const std::vector<SConfigurationDifference> diffs =
        CConfigurationDiff::Compare(*current, *other, EDiffScope::Configuration);
    const QString name = QFileInfo(fileName).fileName();
    const QString intro =
        diffs.empty()
            ? QStringLiteral("The registry holds the same configuration as %1.").arg(name)
            : QStringLiteral("%1 %2 from the registry's configuration to the one in %3 (old -> "
                             "new):")
                  .arg(QString::number(diffs.size()),
                       diffs.size() == 1 ? QStringLiteral("difference")
                                         : QStringLiteral("differences"),
                       name);
    CReportDialog dialog(parent, QString::fromLatin1(kTitle).arg(name), intro,
                         Joined(CConfigurationDiff::Lines(diffs)));
    dialog.exec();
}

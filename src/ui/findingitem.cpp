#include "findingitem.h"

#include "latin1text.h"

#include <QIcon>
#include <QStringList>

namespace {
const QIcon& SeverityIcon(ECheckSeverity severity) {
    static const QIcon error(QStringLiteral(":/icons/problem-error.svg"));
    static const QIcon warning(QStringLiteral(":/icons/problem-warning.svg"));
    return severity == ECheckSeverity::Error ? error : warning;
}

QString Items(const SCheckFinding& finding) {
    QStringList paths;
    for (const std::string& item : finding.items) {
        paths << QStringLiteral("HKEY_LOCAL_MACHINE\\") + CLatin1Text::ToQt(item);
    }
    return paths.join(QLatin1Char('\n'));
}
} // namespace

QVariant CFindingItem::data(int column, int role) const {
    if (column == kCodeColumn && role == Qt::DisplayRole) {
        return QString::fromLatin1(CheckCodeName(m_finding.code));
    }
    return column == kProblemColumn ? ProblemData(role) : QTreeWidgetItem::data(column, role);
}

QVariant CFindingItem::ProblemData(int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return CLatin1Text::ToQt(m_finding.message);
    case Qt::DecorationRole:
        return SeverityIcon(m_finding.severity);
    case Qt::ToolTipRole:
        return CLatin1Text::ToQt(m_finding.message) + QStringLiteral("\n\n") + Items(m_finding);
    case Qt::AccessibleTextRole:
        // A reader of the screen hears the severity, which the icon only shows.
        return QString::fromLatin1(CheckSeverityName(m_finding.severity)) + QStringLiteral(": ") +
               CLatin1Text::ToQt(m_finding.message);
    case kKeyPathRole:
        return m_finding.items.empty() ? QString() : CLatin1Text::ToQt(m_finding.items.front());
    default:
        return QTreeWidgetItem::data(kProblemColumn, role);
    }
}

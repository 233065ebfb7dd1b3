#include "problemsbar.h"

#include "latin1text.h"

#include <QHeaderView>
#include <QIcon>
#include <QMainWindow>
#include <QSet>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

namespace {
enum EColumn { kProblemColumn = 0, kCodeColumn = 1 };
constexpr int kKeyPathRole = Qt::UserRole;
// Tall enough for a few findings without taking the forms' room.
constexpr int kDockedLines = 5;

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

CProblemsBar::CProblemsBar(QMainWindow& frame)
    : QDockWidget(QStringLiteral("Problems"), &frame), m_pList(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("problemsBar"));
    setAccessibleName(QStringLiteral("Problems"));
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    m_pList->setObjectName(QStringLiteral("problemsList"));
    m_pList->setAccessibleName(QStringLiteral("Problems found in the configuration"));
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setHeaderLabels({QStringLiteral("Problem"), QStringLiteral("Code")});
    m_pList->header()->setStretchLastSection(false);
    m_pList->header()->setSectionResizeMode(kProblemColumn, QHeaderView::Stretch);
    // Sized by SetFindings: sized to its contents by the header, the column measured every
    // finding again at each resize of the window.
    m_pList->header()->setSectionResizeMode(kCodeColumn, QHeaderView::Fixed);
    setWidget(m_pList);
    connect(m_pList, &QTreeWidget::itemActivated, this, &CProblemsBar::OnItemActivated);
    frame.addDockWidget(Qt::BottomDockWidgetArea, this);
    frame.resizeDocks({this}, {m_pList->fontMetrics().height() * (kDockedLines + 2)}, Qt::Vertical);
}

void CProblemsBar::SetFindings(const std::vector<SCheckFinding>& findings) {
    m_pList->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(findings.size()));
    for (const SCheckFinding& finding : findings) {
        auto* item = new QTreeWidgetItem;
        items << item;
        item->setIcon(kProblemColumn, SeverityIcon(finding.severity));
        item->setText(kProblemColumn, CLatin1Text::ToQt(finding.message));
        item->setText(kCodeColumn, QString::fromLatin1(CheckCodeName(finding.code)));
        item->setToolTip(kProblemColumn,
                         item->text(kProblemColumn) + QStringLiteral("\n\n") + Items(finding));
        item->setData(kProblemColumn, kKeyPathRole,
                      finding.items.empty() ? QString() : CLatin1Text::ToQt(finding.items.front()));
        // A reader of the screen hears the severity, which the icon only shows.
        item->setData(kProblemColumn, Qt::AccessibleTextRole,
                      QString::fromLatin1(CheckSeverityName(finding.severity)) +
                          QStringLiteral(": ") + item->text(kProblemColumn));
    }
    // Filled apart and added at once, the items reach the list without a signal each.
    m_pList->addTopLevelItems(items);
    FitCodeColumn();
}

// Codes are a few words shared by many findings: one finding of each code is measured.
void CProblemsBar::FitCodeColumn() {
    int width = m_pList->header()->sectionSizeHint(kCodeColumn);
    QSet<QString> measured;
    for (int row = 0; row < m_pList->topLevelItemCount(); ++row) {
        const QString code = m_pList->topLevelItem(row)->text(kCodeColumn);
        if (!measured.contains(code)) {
            measured.insert(code);
            const QModelIndex index = m_pList->model()->index(row, kCodeColumn);
            width = std::max(width, m_pList->sizeHintForIndex(index).width());
        }
    }
    m_pList->header()->resizeSection(kCodeColumn, width);
}

void CProblemsBar::SetActivationHandler(std::function<void(const std::string&)> handler) {
    m_onActivated = std::move(handler);
}

void CProblemsBar::OnItemActivated(QTreeWidgetItem* item) {
    if (item != nullptr && m_onActivated) {
        m_onActivated(CLatin1Text::FromQt(item->data(kProblemColumn, kKeyPathRole).toString()));
    }
}

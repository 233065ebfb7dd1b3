#include "problemsbar.h"

#include "findingitem.h"
#include "latin1text.h"

#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QStyleOption>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

namespace {
constexpr int kProblemColumn = CFindingItem::kProblemColumn;
constexpr int kCodeColumn = CFindingItem::kCodeColumn;
// Tall enough for a few findings without taking the forms' room.
constexpr int kDockedLines = 5;
} // namespace

CProblemsBar::CProblemsBar(QMainWindow& frame)
    : QDockWidget(QStringLiteral("Problems"), &frame), m_pHolder(new QWidget(this)),
      m_pList(new QTreeWidget(m_pHolder)) {
    setObjectName(QStringLiteral("problemsBar"));
    setAccessibleName(QStringLiteral("Problems"));
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    m_pList->setObjectName(QStringLiteral("problemsList"));
    m_pList->setAccessibleName(QStringLiteral("Problems found in the configuration"));
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setHeaderLabels({QStringLiteral("Problem"), QStringLiteral("Code")});
    SizeHeaderSections();
    m_pList->header()->setStretchLastSection(false);
    m_pList->header()->setSectionResizeMode(kProblemColumn, QHeaderView::Stretch);
    // Sized by SetFindings: sized to its contents by the header, the column measured every
    // finding again at each resize of the window.
    m_pList->header()->setSectionResizeMode(kCodeColumn, QHeaderView::Fixed);
    // The list sits in a holder that it fills but for what is less than a row, so that no row
    // is ever shown cut in half.
    m_pHolder->installEventFilter(this);
    setWidget(m_pHolder);
    // An empty list says so, rather than look as if nothing had been checked.
    m_pEmpty = new QLabel(QStringLiteral("No problems"), m_pList->viewport());
    m_pEmpty->setObjectName(QStringLiteral("noProblems"));
    m_pEmpty->setEnabled(false);
    m_pEmpty->move(m_pList->fontMetrics().averageCharWidth(), m_pList->fontMetrics().height() / 2);
    m_pEmpty->adjustSize();
    connect(m_pList, &QTreeWidget::itemActivated, this, &CProblemsBar::OnItemActivated);
    m_pList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pList, &QWidget::customContextMenuRequested, this, &CProblemsBar::OnContextMenu);
    frame.addDockWidget(Qt::BottomDockWidgetArea, this);
    frame.resizeDocks({this}, {m_pList->fontMetrics().height() * (kDockedLines + 2)}, Qt::Vertical);
}

void CProblemsBar::SetFindings(std::vector<SCheckFinding> findings) {
    // The rows refer to the findings they show: they go before the findings do.
    m_pList->clear();
    m_findings = std::move(findings);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_findings.size()));
    m_pEmpty->setVisible(m_findings.empty());
    for (const SCheckFinding& finding : m_findings) {
        items << new CFindingItem(finding);
    }
    // Filled apart and added at once, the items reach the list without a signal each.
    m_pList->addTopLevelItems(items);
    FitCodeColumn();
    FitToWholeRows();
}

bool CProblemsBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pHolder && event->type() == QEvent::Resize) {
        FitToWholeRows();
    }
    return QDockWidget::eventFilter(watched, event);
}

void CProblemsBar::FitToWholeRows() {
    int height = m_pHolder->height();
    if (m_pList->topLevelItemCount() > 0) {
        const int row = m_pList->visualItemRect(m_pList->topLevelItem(0)).height();
        QScrollBar* across = m_pList->horizontalScrollBar();
        const int chrome =
            2 * m_pList->frameWidth() +
            (m_pList->isHeaderHidden() ? 0 : m_pList->header()->sizeHint().height()) +
            (across->isVisible() ? across->sizeHint().height() : 0);
        if (row > 0 && height > chrome + row) {
            height = chrome + (height - chrome) / row * row;
        }
    }
    m_pList->setGeometry(0, 0, m_pHolder->width(), height);
}

// Unsized, a header measures its sections in bold, in case one is highlighted, and that loads a
// font face of its own. This header highlights nothing: its own font is measure enough.
void CProblemsBar::SizeHeaderSections() {
    QHeaderView* header = m_pList->header();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.orientation = Qt::Horizontal;
    for (int column : {kProblemColumn, kCodeColumn}) {
        option.section = column;
        option.text = m_pList->headerItem()->text(column);
        m_pList->headerItem()->setData(
            column, Qt::SizeHintRole,
            header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header));
    }
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
        m_onActivated(
            CLatin1Text::FromQt(item->data(kProblemColumn, CFindingItem::kKeyPathRole).toString()));
    }
}

void CProblemsBar::SetFixHandlers(FixProvider provider,
                                  std::function<void(const SCheckFix&)> apply) {
    m_fixProvider = std::move(provider);
    m_applyFix = std::move(apply);
}

QMenu* CProblemsBar::ContextMenu(int row) {
    if (row < 0 || row >= static_cast<int>(m_findings.size())) {
        return nullptr;
    }
    if (m_pMenu == nullptr) {
        m_pMenu = new QMenu(this);
        m_pMenu->setObjectName(QStringLiteral("problemMenu"));
    }
    m_pMenu->clear();
    QTreeWidgetItem* item = m_pList->topLevelItem(row);
    connect(m_pMenu->addAction(QStringLiteral("&Go to Item")), &QAction::triggered, this,
            [this, item] { OnItemActivated(item); });
    m_pMenu->addSeparator();
    const SCheckFinding finding = m_findings[static_cast<std::size_t>(row)];
    const std::vector<SCheckFix> fixes =
        m_fixProvider ? m_fixProvider(finding) : std::vector<SCheckFix>();
    for (const SCheckFix& fix : fixes) {
        connect(m_pMenu->addAction(CLatin1Text::ToQt(fix.label)), &QAction::triggered, this,
                [this, fix] {
                    if (m_applyFix) {
                        m_applyFix(fix);
                    }
                });
    }
    if (fixes.empty()) {
        m_pMenu->addAction(QStringLiteral("No fix offered for this problem"))->setEnabled(false);
    }
    return m_pMenu;
}

void CProblemsBar::OnContextMenu(const QPoint& point) {
    QTreeWidgetItem* item = m_pList->itemAt(point);
    if (item == nullptr) {
        item = m_pList->currentItem();
    }
    QMenu* menu = ContextMenu(item == nullptr ? -1 : m_pList->indexOfTopLevelItem(item));
    if (menu != nullptr) {
        const QPoint at =
            m_pList->itemAt(point) != nullptr ? point : m_pList->visualItemRect(item).bottomLeft();
        menu->popup(m_pList->viewport()->mapToGlobal(at));
    }
}

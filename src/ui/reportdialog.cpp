#include "reportdialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kWidthInCharacters = 90;
constexpr int kHeightInLines = 20;
} // namespace

CReportDialog::CReportDialog(QWidget* parent, const QString& title, const QString& intro,
                             const QString& report, const SReportQuestion& ask)
    : QDialog(parent) {
    setWindowTitle(title);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);

    m_pIntro = new QLabel(intro, this);
    m_pIntro->setWordWrap(true);
    m_pIntro->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_pIntro);

    m_pReport = new QPlainTextEdit(report, this);
    m_pReport->setReadOnly(true);
    m_pReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Columns of names and values line up only in a fixed-width font.
    m_pReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pReport->setAccessibleName(title);
    m_pReport->setAccessibleDescription(intro);
    const QFontMetrics metrics(m_pReport->font());
    m_pReport->setMinimumSize(metrics.averageCharWidth() * kWidthInCharacters,
                              metrics.lineSpacing() * kHeightInLines);
    m_pIntro->setBuddy(m_pReport);
    layout->addWidget(m_pReport);

    // Ctrl+C on a button copies the whole report; on the text, which takes the key itself, a
    // selection, or the whole report when nothing is selected.
    auto* copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, &CReportDialog::CopyAll);
    addAction(copy);
    m_pReport->installEventFilter(this);

    AddButtons(ask);
}

void CReportDialog::AddButtons(const SReportQuestion& ask) {
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    copy->setAccessibleName(QStringLiteral("Copy"));
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &CReportDialog::CopyAll);
    if (ask.acceptText.isEmpty()) {
        QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
        close->setAccessibleName(QStringLiteral("Close"));
        close->setDefault(true);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    } else {
        QPushButton* accept = buttons->addButton(ask.acceptText, QDialogButtonBox::AcceptRole);
        accept->setAccessibleName(QString(ask.acceptText).remove(QLatin1Char('&')));
        QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
        cancel->setAccessibleName(QStringLiteral("Cancel"));
        (ask.bRisky ? cancel : accept)->setDefault(true);
        accept->setAutoDefault(false);
        cancel->setAutoDefault(false);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
    layout()->addWidget(buttons);
}

bool CReportDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pReport && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
        !m_pReport->textCursor().hasSelection()) {
        CopyAll();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString CReportDialog::Intro() const {
    return m_pIntro->text();
}

QString CReportDialog::Report() const {
    return m_pReport->toPlainText();
}

void CReportDialog::CopyAll() const {
    QApplication::clipboard()->setText(m_pReport->toPlainText());
}

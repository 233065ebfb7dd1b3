#include "framestatusbar.h"

#include "ikeyboardlockstate.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

namespace {
const char* const kIndicatorTexts[CFrameStatusBar::kIndicatorCount] = {"CAP", "NUM", "SCRL"};
// The registry file pane shows at most this many average characters of the path.
constexpr int kFilePaneChars = 28;
} // namespace

CFrameStatusBar::CFrameStatusBar(const IKeyboardLockState& locks, QWidget* parent)
    : QStatusBar(parent), m_locks(locks) {
    addWidget(new QLabel(QStringLiteral("Ready"), this), 1);
    for (int i = 0; i < kIndicatorCount; ++i) {
        m_indicators[i] = AddIndicator(QString::fromLatin1(kIndicatorTexts[i]));
    }
    m_pRegistryFile = new QLabel(this);
    m_pRegistryFile->setObjectName(QStringLiteral("registryFile"));
    m_pRegistryFile->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addPermanentWidget(m_pRegistryFile);
    // The message is drawn in the free width left of the panes; a text longer than that is
    // still there whole, in the tooltip.
    connect(this, &QStatusBar::messageChanged, this,
            [this](const QString& message) { setToolTip(message); });
    RefreshIndicators();
    qApp->installEventFilter(this);
}

void CFrameStatusBar::SetRegistryFile(const QString& path) {
    const QFontMetrics metrics = m_pRegistryFile->fontMetrics();
    m_pRegistryFile->setText(
        metrics.elidedText(path, Qt::ElideMiddle, kFilePaneChars * metrics.averageCharWidth()));
    m_pRegistryFile->setToolTip(path);
    m_pRegistryFile->setAccessibleName(QStringLiteral("Registry file"));
    m_pRegistryFile->setAccessibleDescription(path);
}

QLabel* CFrameStatusBar::AddIndicator(const QString& text) {
    auto* label = new QLabel(this);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // The pane takes the width of its text while the lock is on, and no room while it is off.
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) +
                           2 * label->fontMetrics().averageCharWidth());
    label->setAccessibleName(text);
    addPermanentWidget(label);
    return label;
}

QLabel* CFrameStatusBar::Indicator(int index) const {
    return index >= 0 && index < kIndicatorCount ? m_indicators[index] : nullptr;
}

void CFrameStatusBar::RefreshIndicators() {
    SKeyboardLocks locks = m_locks.Read();
    const bool on[kIndicatorCount] = {locks.capsLock, locks.numLock, locks.scrollLock};
    for (int i = 0; i < kIndicatorCount; ++i) {
        m_indicators[i]->setText(on[i] ? QString::fromLatin1(kIndicatorTexts[i]) : QString());
        m_indicators[i]->setVisible(on[i]);
    }
}

bool CFrameStatusBar::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // A key event travels from the window to the focus widget and its parents; its first
        // stop is enough.
        if (watched->isWindowType()) {
            RefreshIndicators();
        }
        break;
    case QEvent::ApplicationActivate:
    case QEvent::WindowActivate:
        RefreshIndicators();
        break;
    default:
        break;
    }
    return QStatusBar::eventFilter(watched, event);
}

#include "helpviewer.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const char* const kContentsPage = "qrc:/help/index.html";
constexpr QSize kWantedSize(640, 520);
// Of the screen's free area, at most this share is taken.
constexpr double kMostOfScreen = 0.9;

QAction* AddButton(QToolBar& bar, QStyle::StandardPixmap icon, const QString& text,
                   const QKeySequence& key) {
    QAction* action = bar.addAction(bar.style()->standardIcon(icon), text);
    action->setShortcut(key);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
    return action;
}
} // namespace

CHelpViewer::CHelpViewer() = default;

CHelpViewer::~CHelpViewer() = default;

void CHelpViewer::CreateWindow() {
    // A main window, so that a screen reader announces it as a frame of its own, by its name.
    auto frame = std::make_unique<QMainWindow>();
    auto* content = new QWidget(frame.get());
    frame->setCentralWidget(content);
    m_pFrame = std::move(frame);
    m_pFrame->setObjectName(QStringLiteral("helpWindow"));
    m_pFrame->setWindowTitle(QStringLiteral("QSER Help"));
    m_pFrame->setAccessibleName(QStringLiteral("QSER Help"));
    // An open help window does not keep the program running after the main window closed.
    m_pFrame->setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(content);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_pBrowser = new QTextBrowser(content);
    m_pBrowser->setOpenExternalLinks(true);
    layout->addWidget(bar);
    layout->addWidget(m_pBrowser);

    QAction* back = AddButton(*bar, QStyle::SP_ArrowBack, QStringLiteral("Back"),
                              QKeySequence(QKeySequence::Back));
    QAction* forward = AddButton(*bar, QStyle::SP_ArrowForward, QStringLiteral("Forward"),
                                 QKeySequence(QKeySequence::Forward));
    QAction* home = AddButton(*bar, QStyle::SP_DirHomeIcon, QStringLiteral("Home"),
                              QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setEnabled(false);
    forward->setEnabled(false);
    QObject::connect(back, &QAction::triggered, m_pBrowser, &QTextBrowser::backward);
    QObject::connect(forward, &QAction::triggered, m_pBrowser, &QTextBrowser::forward);
    QObject::connect(home, &QAction::triggered, m_pBrowser, &QTextBrowser::home);
    QObject::connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QObject::connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* close = new QAction(m_pFrame.get());
    close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    QObject::connect(close, &QAction::triggered, m_pFrame.get(), &QWidget::close);
    m_pFrame->addAction(close);
    Place();
}

// Centred on the screen of the active window, and never larger than its free area.
void CHelpViewer::Place() {
    const QWidget* active = QApplication::activeWindow();
    const QScreen* screen = active != nullptr ? active->screen() : QGuiApplication::primaryScreen();
    const QRect free = screen->availableGeometry();
    const QSize size(
        std::min(kWantedSize.width(), static_cast<int>(free.width() * kMostOfScreen)),
        std::min(kWantedSize.height(), static_cast<int>(free.height() * kMostOfScreen)));
    m_pFrame->resize(size);
    m_pFrame->move(free.x() + (free.width() - size.width()) / 2,
                   free.y() + (free.height() - size.height()) / 2);
}

void CHelpViewer::WinHelp(unsigned /*data*/, unsigned /*command*/) {
    if (m_pFrame == nullptr) {
        CreateWindow();
    }
    m_pBrowser->setSource(QUrl(QString::fromLatin1(kContentsPage)));
    m_pFrame->show();
    m_pFrame->raise();
    m_pFrame->activateWindow();
}

#include "helpviewer.h"

#include <QTextBrowser>
#include <QUrl>

namespace {
const char* const kContentsPage = "qrc:/help/index.html";
} // namespace

CHelpViewer::CHelpViewer() = default;

CHelpViewer::~CHelpViewer() = default;

void CHelpViewer::WinHelp(unsigned /*data*/, unsigned /*command*/) {
    if (m_pWindow == nullptr) {
        m_pWindow = std::make_unique<QTextBrowser>();
        m_pWindow->setObjectName(QStringLiteral("helpWindow"));
        m_pWindow->setWindowTitle(QStringLiteral("QSER Help"));
        m_pWindow->setOpenExternalLinks(true);
        m_pWindow->resize(640, 520);
        // An open help window does not keep the program running after the main window closed.
        m_pWindow->setAttribute(Qt::WA_QuitOnClose, false);
    }
    m_pWindow->setSource(QUrl(QString::fromLatin1(kContentsPage)));
    m_pWindow->show();
    m_pWindow->raise();
    m_pWindow->activateWindow();
}

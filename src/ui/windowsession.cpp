#include "windowsession.h"

#include "treebrowserbar.h"

#include <QMainWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>

namespace {
// Raised when the bars change in a way an older saved state cannot describe.
constexpr int kStateVersion = 1;
const QString kGeometry = QStringLiteral("Window/Geometry");
const QString kBars = QStringLiteral("Window/Bars");
const QString kStatusBar = QStringLiteral("Window/StatusBar");
const QString kTreeWidth = QStringLiteral("Window/TreeWidth");
} // namespace

QString CWindowSession::Path() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/QSER/session.ini");
}

bool CWindowSession::Restore(QMainWindow& window, CTreeBrowserBar& tree) {
    QSettings settings(Path(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError ||
        !window.restoreGeometry(settings.value(kGeometry).toByteArray())) {
        return false;
    }
    // Before the bars: a bar docked in another area than its default takes this width there.
    bool isNumber = false;
    const int treeWidth = settings.value(kTreeWidth).toInt(&isNumber);
    if (isNumber) {
        tree.SetDockedWidth(treeWidth);
    }
    window.restoreState(settings.value(kBars).toByteArray(), kStateVersion);
    // The state of the bars leaves the status bar out.
    if (QStatusBar* bar = window.statusBar(); settings.contains(kStatusBar)) {
        bar->setVisible(settings.value(kStatusBar).toBool());
    }
    return true;
}

void CWindowSession::Save(const QMainWindow& window, const CTreeBrowserBar& tree) {
    QSettings settings(Path(), QSettings::IniFormat);
    settings.setValue(kGeometry, window.saveGeometry());
    settings.setValue(kBars, window.saveState(kStateVersion));
    settings.setValue(kStatusBar, !window.statusBar()->isHidden());
    settings.setValue(kTreeWidth, tree.DockedSize().width());
}

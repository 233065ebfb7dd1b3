#include "recentfilesmenu.h"

#include "appprofile.h"
#include "commandids.h"
#include "windowsession.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString kEntry = QStringLiteral("Recent/Files");
} // namespace

CRecentFilesMenu::CRecentFilesMenu(Opener opener, QWidget* parent)
    : QMenu(QStringLiteral("Open &Recent"), parent), m_opener(std::move(opener)) {
    menuAction()->setData(ID_FILE_MRU_FILE1);
    menuAction()->setStatusTip(QStringLiteral("Open a registry file opened before"));
    connect(this, &QMenu::aboutToShow, this, &CRecentFilesMenu::Fill);
}

QStringList CRecentFilesMenu::Files() {
    QSettings session(CWindowSession::Path(), QSettings::IniFormat);
    if (session.contains(kEntry)) {
        return session.value(kEntry).toStringList().mid(0, kMaxFiles);
    }
    // Earlier versions kept the list in the profile: it is taken from there until the session
    // holds one, and the profile itself is left as it is.
    QSettings profile(CAppProfile::Path(), QSettings::IniFormat);
    return profile.value(kEntry).toStringList().mid(0, kMaxFiles);
}

void CRecentFilesMenu::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = Files();
    files.removeAll(absolute);
    files.prepend(absolute);
    Write(files.mid(0, kMaxFiles));
}

void CRecentFilesMenu::Write(const QStringList& files) {
    QSettings settings(CWindowSession::Path(), QSettings::IniFormat);
    settings.setValue(kEntry, files);
}

void CRecentFilesMenu::Fill() {
    clear();
    const QStringList files = Files();
    if (files.isEmpty()) {
        addAction(QStringLiteral("No recent files"))->setEnabled(false);
        return;
    }
    int number = 0;
    for (const QString& file : files) {
        // "&&" keeps an ampersand in a path from becoming a mnemonic.
        const QString shown =
            QDir::toNativeSeparators(file).replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = addAction(QStringLiteral("&%1 %2").arg(++number).arg(shown));
        item->setStatusTip(QStringLiteral("Open %1").arg(file));
        item->setEnabled(QFileInfo::exists(file));
        connect(item, &QAction::triggered, this, [this, file] { m_opener(file); });
    }
    addSeparator();
    connect(addAction(QStringLiteral("&Clear Menu")), &QAction::triggered, this, [] { Write({}); });
}

#pragma once

#include <QMenu>
#include <QStringList>
#include <functional>

// File > Open Recent: the registry files opened last, newest first, as the window's session keeps
// them (section "Recent", entry "Files"; at most four, as the original's recent-file list). The
// menu is filled each time it opens, so nothing is read at start-up; a file that is gone is shown
// greyed with its path, since it may be on a disk not mounted now.
class CRecentFilesMenu : public QMenu {
public:
    using Opener = std::function<void(const QString& path)>;
    CRecentFilesMenu(Opener opener, QWidget* parent);

    static constexpr int kMaxFiles = 4;
    static QStringList Files();
    // Puts the file's absolute path first, dropping its older place and the oldest beyond four.
    static void Add(const QString& path);

private:
    void Fill();
    static void Write(const QStringList& files);

    Opener m_opener;
};

#include "appprofile.h"
#include "commandids.h"
#include "problemsbar.h"
#include "recentfilesmenu.h"
#include "treebrowserbar.h"
#include "uifixture.h"
#include "windowsession.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

namespace {
using CWindowSessionTest = CUiFixture;

void WriteSessionFile(const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(CWindowSession::Path()).absolutePath());
    QFile file(CWindowSession::Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
} // namespace

TEST_F(CWindowSessionTest, CloseThenReopenRestoresGeometryBarsAndTreeWidth) {
    Start();
    Frame().resize(Frame().size() + QSize(120, 80));
    Action(ID_VIEW_TOOLBAR)->trigger();
    Action(ID_VIEW_STATUS_BAR)->trigger();
    Action(ID_VIEW_PROBLEMS_BAR)->trigger();
    Frame().addDockWidget(Qt::RightDockWidgetArea, Frame().TreeBar());
    QApplication::processEvents();
    Frame().resizeDocks({Frame().TreeBar()}, {Frame().TreeBar()->width() + 60}, Qt::Horizontal);
    QApplication::processEvents();
    const QSize size = Frame().size();
    const int treeWidth = Frame().TreeBar()->width();
    CloseAndDestroy();

    Start();
    EXPECT_EQ(Frame().size(), size);
    EXPECT_EQ(Frame().TreeBar()->width(), treeWidth);
    EXPECT_EQ(Frame().dockWidgetArea(Frame().TreeBar()), Qt::RightDockWidgetArea);
    EXPECT_TRUE(Frame().MainToolBar()->isHidden());
    EXPECT_TRUE(Frame().statusBar()->isHidden());
    EXPECT_TRUE(Frame().ProblemsBar()->isHidden());
    EXPECT_FALSE(Frame().ConfigToolBar()->isHidden());
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_PROBLEMS_BAR}) {
        EXPECT_FALSE(Action(id)->isChecked()) << id;
    }
    EXPECT_TRUE(Action(ID_VIEW_TREE_BROWSER)->isChecked());
    // The registry file left is the first recent file, kept with the session; the profile
    // holds only its own values.
    EXPECT_EQ(CRecentFilesMenu::Files().value(0),
              QFileInfo(QString::fromStdString(m_hive.Hive().Path())).absoluteFilePath());
    EXPECT_EQ(QSettings(CAppProfile::Path(), QSettings::IniFormat).childGroups(),
              QStringList{QStringLiteral("Misc")});
}

TEST_F(CWindowSessionTest, RecentFilesOfTheProfileAreKeptUntilTheSessionHasItsOwn) {
    const QStringList earlier{QStringLiteral("/srv/a/registry.db"),
                              QStringLiteral("/srv/b/SYSTEM")};
    QSettings(CAppProfile::Path(), QSettings::IniFormat).setValue("Recent/Files", earlier);
    EXPECT_EQ(CRecentFilesMenu::Files(), earlier);
    CRecentFilesMenu::Add(QStringLiteral("/srv/c/registry.db"));
    EXPECT_EQ(CRecentFilesMenu::Files(),
              (QStringList{QStringLiteral("/srv/c/registry.db"), earlier[0], earlier[1]}));
}

TEST_F(CWindowSessionTest, ADamagedSessionFileGivesTheDefaults) {
    const QByteArray damaged[] = {
        QByteArray("\x00\xff\x13[Window\nGeometry=\x01\x02", 22),
        QByteArray("[Window]\nGeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb\\0\\x3)\n"
                   "Bars=@ByteArray(\\0\\0\\0\\xff\\0\\0\\0\\x1\\xfd)\nStatusBar=maybe\n"),
    };
    for (const QByteArray& bytes : damaged) {
        WriteSessionFile(bytes);
        Start();
        EXPECT_EQ(Frame().dockWidgetArea(Frame().TreeBar()), Qt::LeftDockWidgetArea);
        EXPECT_FALSE(Frame().MainToolBar()->isHidden());
        EXPECT_FALSE(Frame().statusBar()->isHidden());
        EXPECT_FALSE(Frame().ProblemsBar()->isHidden());
        CloseAndDestroy();
    }
}

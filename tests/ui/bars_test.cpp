#include "appprofile.h"
#include "bartitle.h"
#include "commandids.h"
#include "configtreectrl.h"
#include "framestatusbar.h"
#include "treebrowserbar.h"
#include "uifixture.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {
class CBarsTest : public CUiFixture {
protected:
    void SetUp() override { Start(); }

    CTreeBrowserBar& Bar() const { return *Frame().TreeBar(); }

    // Presses in the bar at pressX, drags to releaseX and releases, in the bar's coordinates,
    // then lets the window lay itself out again.
    void DragStrip(int pressX, int releaseX) {
        QWidget* panel = Bar().widget();
        const int y = panel->height() / 2;
        const QPoint press =
            panel->mapFrom(&Bar(), QPoint(pressX, panel->mapTo(&Bar(), QPoint(0, y)).y()));
        const QPoint release(press.x() + releaseX - pressX, press.y());
        QTest::mousePress(panel, Qt::LeftButton, {}, press);
        QTest::mouseMove(panel, release);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, release);
        QApplication::processEvents();
    }

    int ProfileInt(const char* entry) const {
        QSettings profile(CAppProfile::Path(), QSettings::IniFormat);
        return profile.value(QStringLiteral("Misc/") + QLatin1String(entry), -1).toInt();
    }
};
} // namespace

TEST_F(CBarsTest, ViewCommandsToggleTheirBarsAndCheckMarksFollow) {
    struct SToggle {
        int id;
        QWidget* bar;
    };
    const SToggle toggles[] = {
        {ID_VIEW_TREE_BROWSER, Frame().TreeBar()},
        {ID_VIEW_TOOLBAR, Frame().MainToolBar()},
        {ID_VIEW_STATUS_BAR, Frame().statusBar()},
        {ID_VIEW_CONFIG_TOOLBAR, Frame().ConfigToolBar()},
    };
    for (const SToggle& toggle : toggles) {
        QAction* action = Action(toggle.id);
        EXPECT_TRUE(action->isChecked()) << toggle.id;
        action->trigger();
        EXPECT_FALSE(toggle.bar->isVisible()) << toggle.id;
        EXPECT_FALSE(action->isChecked()) << toggle.id;
        action->trigger();
        EXPECT_TRUE(toggle.bar->isVisible()) << toggle.id;
        EXPECT_TRUE(action->isChecked()) << toggle.id;
    }
}

TEST_F(CBarsTest, FloatingTreeBrowserClosedByItsOwnButtonClearsTheCheckMark) {
    Bar().setFloating(true);
    QApplication::processEvents();
    auto* title = dynamic_cast<CBarTitle*>(Bar().titleBarWidget());
    ASSERT_NE(title, nullptr);
    ASSERT_TRUE(title->CloseButton()->isVisible());
    QTest::mouseClick(title->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_FALSE(Action(ID_VIEW_TREE_BROWSER)->isChecked());
    Action(ID_VIEW_TREE_BROWSER)->trigger();
    EXPECT_TRUE(Bar().isVisible());
    EXPECT_TRUE(Action(ID_VIEW_TREE_BROWSER)->isChecked());
}

TEST_F(CBarsTest, HidingTheWholeWindowKeepsTheCheckMarks) {
    Frame().hide();
    EXPECT_TRUE(Action(ID_VIEW_TREE_BROWSER)->isChecked());
    EXPECT_TRUE(Action(ID_VIEW_CONFIG_TOOLBAR)->isChecked());
}

TEST_F(CBarsTest, DraggingTheStripToTheLeftEdgeLeavesTheMinimumWidth) {
    ASSERT_TRUE(Bar().InSizingStrip(Bar().width() - 5));
    DragStrip(Bar().width() - 5, 5);
    EXPECT_EQ(Bar().DockedSize().width(), CTreeBrowserBar::kMinDockedWidth);
    EXPECT_EQ(Bar().width(), CTreeBrowserBar::kMinDockedWidth);
}

TEST_F(CBarsTest, DraggingTheStripSetsTheDockedWidth) {
    DragStrip(Bar().width() - 5, 150);
    EXPECT_EQ(Bar().width(), 150);
    EXPECT_EQ(Bar().DockedSize().width(), 150);
    // The tree keeps its margin.
    EXPECT_EQ(Frame().Tree().geometry().topLeft(), QPoint(10, 10));
    EXPECT_EQ(Frame().Tree().width(), Bar().widget()->width() - 20);
}

TEST_F(CBarsTest, PressOutsideTheStripDoesNotResize) {
    const int width = Bar().width();
    for (int x : {width - CTreeBrowserBar::kStripWidth, width - 40}) {
        EXPECT_FALSE(Bar().InSizingStrip(x)) << x;
    }
    EXPECT_FALSE(Bar().InSizingStrip(width));
    EXPECT_TRUE(Bar().InSizingStrip(width - CTreeBrowserBar::kStripWidth + 1));
    DragStrip(width - 40, 60);
    EXPECT_EQ(Bar().width(), width);
}

TEST_F(CBarsTest, RightDockedBarGrowsByTheDistanceLeftOfItsEdge) {
    Frame().addDockWidget(Qt::RightDockWidgetArea, &Bar());
    QApplication::processEvents();
    const int width = Bar().width();
    EXPECT_TRUE(Bar().InSizingStrip(5));
    EXPECT_FALSE(Bar().InSizingStrip(Bar().width() - 5));
    DragStrip(5, -30);
    EXPECT_EQ(Bar().width(), width + 30);
}

TEST_F(CBarsTest, APressBesideTheTreeDragsTheBarAway) {
    QWidget* panel = Bar().widget();
    const QPoint margin(CTreeBrowserBar::kTreeMargin / 2, panel->height() / 2);
    ASSERT_FALSE(Frame().Tree().geometry().contains(margin));
    QTest::mousePress(panel, Qt::LeftButton, {}, margin);
    for (int step = 1; step <= 5; ++step) {
        QTest::mouseMove(panel, margin + QPoint(30 * step, 10 * step));
    }
    QTest::mouseRelease(panel, Qt::LeftButton, {}, margin + QPoint(150, 50));
    QApplication::processEvents();
    EXPECT_TRUE(Bar().isFloating());
}

TEST_F(CBarsTest, FloatingResizeRecordsTheDockedSize) {
    Bar().setFloating(true);
    QApplication::processEvents();
    EXPECT_EQ(Bar().size(), Bar().FloatingSize());
    // The person resizes the floating bar by its edge, with the button held.
    QWidget* panel = Bar().widget();
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(2, 2));
    Bar().resize(230, 300);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(2, 2));
    QApplication::processEvents();
    EXPECT_EQ(Bar().FloatingSize(), QSize(230, 300));
    EXPECT_EQ(Bar().DockedSize(), QSize(230, 300));
    Bar().setFloating(false);
    QApplication::processEvents();
    EXPECT_EQ(Bar().width(), 230);
}

// Docking moves the floating bar onto its new place first, at whatever width that place has:
// no size the person gave.
TEST_F(CBarsTest, ResizesByDockingRecordNoSize) {
    Bar().setFloating(true);
    QApplication::processEvents();
    const QSize floating = Bar().FloatingSize();
    const QSize docked = Bar().DockedSize();
    Bar().resize(22, 300);
    QApplication::processEvents();
    EXPECT_EQ(Bar().FloatingSize(), floating);
    EXPECT_EQ(Bar().DockedSize(), docked);
    Bar().Dock(Qt::RightDockWidgetArea);
    QApplication::processEvents();
    EXPECT_EQ(Bar().width(), docked.width());
}

TEST_F(CBarsTest, ProfileValuesAreWrittenWhenTheBarIsDestroyed) {
    DragStrip(Bar().width() - 5, 140);
    const QSize docked = Bar().DockedSize();
    const QSize floating = Bar().FloatingSize();
    Action(ID_VIEW_TREE_BROWSER)->trigger(); // hidden bars write too
    EXPECT_EQ(ProfileInt("DockedDlgCXSize"), -1);
    m_pFrame.reset();
    EXPECT_EQ(ProfileInt("DockedDialogState"), 0x1000 | 0x0400);
    EXPECT_EQ(ProfileInt("FloatingDlgCXSize"), floating.width());
    EXPECT_EQ(ProfileInt("FloatingDlgCYSize"), floating.height());
    EXPECT_EQ(ProfileInt("DockedDlgCXSize"), 140);
    EXPECT_EQ(ProfileInt("DockedDlgCYSize"), docked.height());
}

TEST_F(CBarsTest, ProfileRecordsTheRightSide) {
    Frame().addDockWidget(Qt::RightDockWidgetArea, &Bar());
    QApplication::processEvents();
    m_pFrame.reset();
    EXPECT_EQ(ProfileInt("DockedDialogState"), 0x4000 | 0x0100);
}

TEST_F(CBarsTest, LockIndicatorsFollowTheKeyboardOnKeysAndActivation) {
    CFrameStatusBar& bar = *Frame().StatusBar();
    for (int i = 0; i < CFrameStatusBar::kIndicatorCount; ++i) {
        EXPECT_TRUE(bar.Indicator(i)->text().isEmpty()) << i;
        EXPECT_TRUE(bar.Indicator(i)->isHidden()) << i; // no room taken while off
    }
    m_locks.Set({true, false, true});
    QTest::keyClick(Frame().windowHandle(), Qt::Key_CapsLock);
    EXPECT_EQ(bar.Indicator(0)->text(), QStringLiteral("CAP"));
    EXPECT_FALSE(bar.Indicator(0)->isHidden());
    EXPECT_TRUE(bar.Indicator(1)->text().isEmpty());
    EXPECT_TRUE(bar.Indicator(1)->isHidden());
    EXPECT_EQ(bar.Indicator(2)->text(), QStringLiteral("SCRL"));

    m_locks.Set({false, true, false});
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&Frame(), &activate);
    EXPECT_TRUE(bar.Indicator(0)->text().isEmpty());
    EXPECT_EQ(bar.Indicator(1)->text(), QStringLiteral("NUM"));
}

TEST_F(CBarsTest, StatusBarShowsReadyWhenIdleAndThePromptOnHover) {
    QStatusBar* bar = Frame().statusBar();
    EXPECT_TRUE(bar->currentMessage().isEmpty());
    EXPECT_NE(bar->findChild<QLabel*>(), nullptr);
    bool ready = false;
    for (QLabel* label : bar->findChildren<QLabel*>()) {
        ready = ready || label->text() == QStringLiteral("Ready");
    }
    EXPECT_TRUE(ready);
    Action(ID_ADD_BOARD)->showStatusText(Frame().ConfigToolBar());
    EXPECT_EQ(bar->currentMessage(), QStringLiteral("Add a new board"));
}

TEST_F(CBarsTest, ALongStatusMessageIsWholeInTheTooltip) {
    const QString message = QStringLiteral("Exported the whole registry to ") +
                            QString(300, QLatin1Char('x')) + QStringLiteral(".reg");
    Frame().statusBar()->showMessage(message);
    EXPECT_EQ(Frame().statusBar()->toolTip(), message);
}

#include "treebrowserbar.h"

#include "appprofile.h"
#include "bartitle.h"
#include "configtreectrl.h"
#include "dialogunits.h"
#include "latin1text.h"
#include "stringtable.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QRubberBand>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {
// Dialog 103, the bar's template.
constexpr int kTemplateWidth = 94;
constexpr int kTemplateHeight = 178;
constexpr int kFeedbackWidth = 4;
constexpr unsigned kStyleMask = 0xFF00;
} // namespace

CTreeBrowserBar::CTreeBrowserBar(QMainWindow& frame, bool recordSize)
    : QDockWidget(QStringLiteral("Tree Browser"), &frame), m_frame(frame),
      m_pPanel(new QWidget(this)), m_wndTree(new CConfigTreeCtrl(m_pPanel)),
      m_sizeDocked(CDialogUnits(font()).Size(kTemplateWidth, kTemplateHeight)),
      m_sizeFloating(m_sizeDocked), m_bRecordSize(recordSize),
      m_pFeedback(new QRubberBand(QRubberBand::Line, &frame)) {
    setObjectName(QStringLiteral("treeBrowserBar"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    setTitleBarWidget(new CBarTitle(*this, [this] { ToggleFloating(); }));
    setMinimumWidth(kMinDockedWidth);
    setWidget(m_pPanel);
    m_pPanel->setMouseTracking(true);
    m_pPanel->installEventFilter(this);
    m_wndTree->viewport()->setMouseTracking(true);
    m_wndTree->viewport()->installEventFilter(this);
    connect(this, &QDockWidget::topLevelChanged, this, &CTreeBrowserBar::OnFloatingChanged);
    connect(this, &QDockWidget::dockLocationChanged, this, [this](Qt::DockWidgetArea area) {
        if (area != m_area && !isFloating()) {
            RestoreDockedWidth();
        }
        m_area = area;
    });
    m_frame.addDockWidget(Qt::LeftDockWidgetArea, this);
    m_frame.resizeDocks({this}, {m_sizeDocked.width()}, Qt::Horizontal);
}

CTreeBrowserBar::~CTreeBrowserBar() {
    WriteProfile();
}

unsigned CTreeBrowserBar::BarStyle() const {
    if (isFloating()) {
        return CBRS_ALIGN_TOP;
    }
    return m_area == Qt::RightDockWidgetArea ? CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT
                                             : CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
}

void CTreeBrowserBar::WriteProfile() const {
    const std::pair<unsigned, int> entries[] = {
        {IDS_PROFILE_DOCKED_STATE, static_cast<int>(BarStyle() & kStyleMask)},
        {IDS_PROFILE_FLOATING_CX, m_sizeFloating.width()},
        {IDS_PROFILE_FLOATING_CY, m_sizeFloating.height()},
        {IDS_PROFILE_DOCKED_CX, m_sizeDocked.width()},
        {IDS_PROFILE_DOCKED_CY, m_sizeDocked.height()},
    };
    const QString section = CLatin1Text::ToQt(LoadString(IDS_PROFILE_SECTION));
    for (const auto& [entry, value] : entries) {
        CAppProfile::WriteProfileInt(section, CLatin1Text::ToQt(LoadString(entry)), value);
    }
}

bool CTreeBrowserBar::InSizingStrip(int x) const {
    if (isFloating()) {
        return false;
    }
    if (m_area == Qt::RightDockWidgetArea) {
        return 0 < x && x < kStripWidth;
    }
    return width() - kStripWidth < x && x < width();
}

void CTreeBrowserBar::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    if (isFloating()) {
        // Only a size the person gives the floating bar counts: docking it again first moves
        // the floating bar onto its new place, at whatever width that place has at first.
        const bool byPerson =
            event->spontaneous() || QGuiApplication::mouseButtons() != Qt::NoButton;
        if (m_bFloatSized && byPerson) {
            m_sizeFloating = size();
            if (m_bRecordSize) {
                m_sizeDocked = size();
            }
        }
    } else if (isVisible() && !m_bDocking) {
        m_sizeDocked.setWidth(width());
    }
}

void CTreeBrowserBar::OnFloatingChanged(bool floating) {
    m_bFloatSized = false;
    if (floating) {
        resize(m_sizeFloating);
        m_bFloatSized = true;
    } else {
        RestoreDockedWidth();
    }
}

// A dock area laid out anew gives the bar its own width first; the bar takes its docked width
// back once the frame has laid the area out.
void CTreeBrowserBar::RestoreDockedWidth() {
    m_bDocking = true;
    m_frame.resizeDocks({this}, {m_sizeDocked.width()}, Qt::Horizontal);
    QTimer::singleShot(0, this, [this] {
        m_frame.resizeDocks({this}, {m_sizeDocked.width()}, Qt::Horizontal);
        m_bDocking = false;
    });
}

void CTreeBrowserBar::SetDockedWidth(int width) {
    m_sizeDocked.setWidth(std::max(width, kMinDockedWidth));
}

void CTreeBrowserBar::Float() {
    if (!isFloating()) {
        setFloating(true);
    }
    move(BesideFrame());
}

void CTreeBrowserBar::Dock(Qt::DockWidgetArea area) {
    if (isFloating()) {
        setFloating(false);
    }
    m_frame.addDockWidget(area, this);
    RestoreDockedWidth();
}

void CTreeBrowserBar::ToggleFloating() {
    if (isFloating()) {
        Dock(m_area);
    } else {
        Float();
    }
}

// Right of the main window when the screen has room there, else left of it, else at the
// screen's right edge.
QPoint CTreeBrowserBar::BesideFrame() const {
    const QRect frame = m_frame.frameGeometry();
    const QRect screen = m_frame.screen()->availableGeometry();
    const QSize bar = frameGeometry().size();
    constexpr int kGap = 8;
    int x = frame.right() + 1 + kGap;
    if (x + bar.width() > screen.right() + 1) {
        x = frame.left() - kGap - bar.width();
    }
    if (x < screen.left()) {
        x = screen.right() + 1 - bar.width();
    }
    const int y = std::clamp(frame.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - bar.height()));
    return {x, y};
}

void CTreeBrowserBar::LayoutTree() {
    m_wndTree->setGeometry(kTreeMargin, kTreeMargin, m_pPanel->width() - 2 * kTreeMargin,
                           m_pPanel->height() - 2 * kTreeMargin);
}

bool CTreeBrowserBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pPanel && event->type() == QEvent::Resize) {
        LayoutTree();
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && OnMouse(*widget, *event)) {
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

bool CTreeBrowserBar::OnMouse(QWidget& widget, QEvent& event) {
    const QEvent::Type type = event.type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
        return false;
    }
    auto& mouse = static_cast<QMouseEvent&>(event);
    const QPoint barPoint = widget.mapTo(this, mouse.position().toPoint());
    if (m_bForwardingDrag) {
        ForwardToTitle(mouse, barPoint);
        m_bForwardingDrag = type != QEvent::MouseButtonRelease;
        return true;
    }
    if (m_bTracking) {
        if (type == QEvent::MouseButtonRelease) {
            EndTracking(barPoint);
        } else {
            Track(barPoint);
        }
        return true;
    }
    const bool inStrip = InSizingStrip(barPoint.x());
    if (type == QEvent::MouseMove) {
        if (inStrip) {
            widget.setCursor(Qt::SplitHCursor);
        } else {
            widget.unsetCursor();
        }
        return false;
    }
    if (type == QEvent::MouseButtonPress && mouse.button() == Qt::LeftButton && inStrip) {
        widget.setCursor(Qt::SplitHCursor);
        BeginTracking();
        return true;
    }
    // A press on the bar beside the tree drags the bar as its title does.
    if (type == QEvent::MouseButtonPress && mouse.button() == Qt::LeftButton &&
        &widget == m_pPanel) {
        m_bForwardingDrag = true;
        ForwardToTitle(mouse, barPoint);
        return true;
    }
    return false;
}

// The dock widget starts and runs its drag only for the events of its title; the press and
// what follows are given to it as if they were there, at the height of the title.
void CTreeBrowserBar::ForwardToTitle(const QMouseEvent& mouse, const QPoint& barPoint) {
    const QPoint onTitle(barPoint.x(), titleBarWidget()->geometry().center().y());
    QMouseEvent forwarded(mouse.type(), onTitle, mapToGlobal(onTitle), mouse.button(),
                          mouse.buttons(), mouse.modifiers());
    QCoreApplication::sendEvent(this, &forwarded);
}

void CTreeBrowserBar::BeginTracking() {
    m_bTracking = true;
    m_rectTracking = QRect();
}

void CTreeBrowserBar::Track(const QPoint& barPoint) {
    const QPoint framePoint = mapTo(&m_frame, barPoint);
    const QPoint barTop = mapTo(&m_frame, QPoint(0, 0));
    m_rectTracking = QRect(framePoint.x(), barTop.y(), kFeedbackWidth, height());
    m_pFeedback->setGeometry(m_rectTracking);
    m_pFeedback->show();
    m_pFeedback->raise();
}

void CTreeBrowserBar::EndTracking(const QPoint& barPoint) {
    m_bTracking = false;
    int docked =
        m_area == Qt::RightDockWidgetArea ? m_sizeDocked.width() - barPoint.x() : barPoint.x();
    docked = std::max(docked, kMinDockedWidth);
    m_sizeDocked.setWidth(docked);
    m_pFeedback->hide();
    m_rectTracking = QRect();
    m_frame.resizeDocks({this}, {docked}, Qt::Horizontal);
}

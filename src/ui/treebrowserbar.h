#pragma once

#include <QDockWidget>
#include <QRect>
#include <QSize>

class CConfigTreeCtrl;
class QMainWindow;
class QMouseEvent;
class QRubberBand;

// The tree browser: a dock widget at the left or right of the main window, or floating, that
// holds the configuration tree with a 10-pixel margin. While docked, the 15 pixels along its
// inner edge are a sizing strip: dragging there shows a feedback line and, on release, gives
// the bar the new width (at least 20 pixels); a press anywhere else beside the tree drags the
// bar as its title does. It keeps separate docked and floating sizes; with size recording on,
// resizing the floating bar sets the docked size too, and docking at either side keeps the
// docked width. When destroyed it writes its docking state and both sizes to the profile,
// section "Misc".
class CTreeBrowserBar : public QDockWidget {
public:
    // Bar styles of the original platform, as the profile records them.
    enum EBarStyle : unsigned {
        CBRS_BORDER_LEFT = 0x0100,
        CBRS_BORDER_TOP = 0x0200,
        CBRS_BORDER_RIGHT = 0x0400,
        CBRS_BORDER_BOTTOM = 0x0800,
        CBRS_ALIGN_LEFT = 0x1000,
        CBRS_ALIGN_TOP = 0x2000,
        CBRS_ALIGN_RIGHT = 0x4000,
        CBRS_ALIGN_BOTTOM = 0x8000,
    };
    static constexpr int kStripWidth = 15;
    static constexpr int kMinDockedWidth = 20;
    static constexpr int kTreeMargin = 10;

    // Docks itself at the left of frame. The default sizes are those of the bar's template
    // (94 x 178 dialog units).
    CTreeBrowserBar(QMainWindow& frame, bool recordSize);
    ~CTreeBrowserBar() override;

    CConfigTreeCtrl& Tree() const { return *m_wndTree; }
    QSize DockedSize() const { return m_sizeDocked; }
    // The width the bar takes back whenever it is docked, as the person last gave it; at least
    // kMinDockedWidth.
    void SetDockedWidth(int width);
    QSize FloatingSize() const { return m_sizeFloating; }
    // The style bits of where the bar is: alignment and border.
    unsigned BarStyle() const;
    // x in the bar's own coordinates.
    bool InSizingStrip(int x) const;
    // Where the bar docks, or docked last while it floats.
    Qt::DockWidgetArea Area() const { return m_area; }

    // Floats the bar beside the main window, where it does not cover the form when the screen
    // has room, at its floating size.
    void Float();
    // Docks the bar at the left or right, at its docked width.
    void Dock(Qt::DockWidgetArea area);
    // Floats a docked bar, docks a floating one at its last side (a double click on its title).
    void ToggleFloating();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool OnMouse(QWidget& widget, QEvent& event);
    void ForwardToTitle(const QMouseEvent& mouse, const QPoint& barPoint);
    void BeginTracking();
    void Track(const QPoint& barPoint);
    void EndTracking(const QPoint& barPoint);
    void OnFloatingChanged(bool floating);
    void LayoutTree();
    void RestoreDockedWidth();
    QPoint BesideFrame() const;
    void WriteProfile() const;

    QMainWindow& m_frame;
    QWidget* m_pPanel;
    CConfigTreeCtrl* m_wndTree;
    QSize m_sizeDocked;
    QSize m_sizeFloating;
    bool m_bRecordSize;
    QRect m_rectTracking;
    QRubberBand* m_pFeedback;
    bool m_bTracking = false;
    // Where the bar docks; kept apart from the frame, which may be gone when the bar is.
    Qt::DockWidgetArea m_area = Qt::LeftDockWidgetArea;
    // Set once a floating bar has taken its floating size; until then its resizes are Qt's own.
    bool m_bFloatSized = false;
    // Set from docking until the frame has laid the bar out at its docked width.
    bool m_bDocking = false;
    // Set from a press beside the tree until its release: the bar is being dragged.
    bool m_bForwardingDrag = false;
};

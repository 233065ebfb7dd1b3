#pragma once

#include <QWidget>
#include <functional>

class QDockWidget;
class QLabel;
class QToolButton;

// A slim title bar for a dock widget. Docked, it is a thin gripper that the bar is dragged by,
// so that the bar can be made as narrow as its content allows; floating, it shows the bar's
// title and a close button, since a floating bar with its own title bar has no window frame.
// A double click runs the bar's own handler instead of Qt's, which would float the bar over the
// main window.
class CBarTitle : public QWidget {
public:
    CBarTitle(QDockWidget& bar, std::function<void()> onDoubleClick);

    QToolButton* CloseButton() const { return m_pClose; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnFloatingChanged(bool floating);

    QDockWidget& m_bar;
    QLabel* m_pTitle;
    QToolButton* m_pClose;
    std::function<void()> m_onDoubleClick;
};

#pragma once

#include <QWidget>

class QDockWidget;
class QLabel;
class QToolButton;

// A slim title bar for a dock widget. Docked, it is a thin gripper that the bar is dragged by,
// so that the bar can be made as narrow as its content allows; floating, it shows the bar's
// title and a close button, since a floating bar with its own title bar has no window frame.
class CBarTitle : public QWidget {
public:
    explicit CBarTitle(QDockWidget& bar);

    QToolButton* CloseButton() const { return m_pClose; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnFloatingChanged(bool floating);

    QDockWidget& m_bar;
    QLabel* m_pTitle;
    QToolButton* m_pClose;
};

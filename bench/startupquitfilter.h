#pragma once

#include <QObject>

// Quits the application from the first paint event of the widget it watches, so that a start-up
// measurement ends once the window has really been painted (a timer queued at show would fire
// before anything is drawn). The quit is queued: the paint pass that delivered the event, which
// paints every dirty child of the window, completes first.
class CStartupQuitFilter : public QObject {
public:
    // Watches watched (not owned) until its first paint event.
    explicit CStartupQuitFilter(QObject& watched);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

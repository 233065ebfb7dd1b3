#pragma once

#include <QObject>

class QWidget;

// For the start-up benchmark: quits the application (status 0) once the watched window has
// been painted for the first time, so that a run measures start to first painted window.
class CFirstPaintQuit : public QObject {
public:
    explicit CFirstPaintQuit(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_bQuitting = false;
};

#include "firstpaintquit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

CFirstPaintQuit::CFirstPaintQuit(QWidget& window) : QObject(&window) {
    window.installEventFilter(this);
}

bool CFirstPaintQuit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !m_bQuitting) {
        m_bQuitting = true;
        // Queued, so that this paint completes before the event loop ends.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

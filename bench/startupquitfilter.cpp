#include "startupquitfilter.h"

#include <QCoreApplication>
#include <QEvent>

CStartupQuitFilter::CStartupQuitFilter(QObject& watched) : QObject(&watched) {
    watched.installEventFilter(this);
}

bool CStartupQuitFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    }
    return false;
}

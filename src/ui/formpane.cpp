#include "formpane.h"

#include <QChildEvent>
#include <QEvent>
#include <algorithm>

CFormPane::CFormPane(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("formView"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The pane is no Tab stop of its own; its controls are.
    setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("formContent"));
    content->installEventFilter(this);
    setWidget(content);
}

void CFormPane::SetWantedSize(const QSize& size) {
    m_wanted = size;
    updateGeometry();
}

bool CFormPane::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == widget()) {
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        }
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Resize:
    case QEvent::Move:
        // The content grows with the window; its page is centred in it again.
        FitContent();
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

// The content is at least as large as the controls of the page on show, with the page's own
// margin at the right and bottom as at the left and top; where the window gives it more room,
// the page sits in the middle of it.
void CFormPane::FitContent() {
    QSize needed(0, 0);
    const QList<QWidget*> pages = widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* page : pages) {
        if (!page->isHidden()) {
            const QRect controls = page->childrenRect();
            const QPoint extent = controls.bottomRight() + controls.topLeft();
            needed = needed.expandedTo(QSize(extent.x() + 1, extent.y() + 1));
        }
    }
    widget()->setMinimumSize(needed);
    const QPoint offset(std::max(0, (widget()->width() - needed.width()) / 2),
                        std::max(0, (widget()->height() - needed.height()) / 2));
    for (QWidget* page : pages) {
        if (!page->isHidden() && page->pos() != offset) {
            page->move(offset);
        }
    }
}

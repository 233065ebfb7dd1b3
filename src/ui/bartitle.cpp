#include "bartitle.h"

#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <utility>

namespace {
constexpr int kGripperHeight = 7;
} // namespace

CBarTitle::CBarTitle(QDockWidget& bar, std::function<void()> onDoubleClick)
    : QWidget(&bar), m_bar(bar), m_pTitle(new QLabel(bar.windowTitle(), this)),
      m_pClose(new QToolButton(this)), m_onDoubleClick(std::move(onDoubleClick)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 1, 1);
    layout->setSpacing(2);
    layout->addWidget(m_pTitle, 1);
    layout->addWidget(m_pClose);
    m_pTitle->setMinimumWidth(0);
    m_pClose->setObjectName(QStringLiteral("barClose"));
    m_pClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_pClose->setAutoRaise(true);
    m_pClose->setToolTip(QStringLiteral("Close"));
    m_pClose->setAccessibleName(QStringLiteral("Close"));
    connect(m_pClose, &QToolButton::clicked, &m_bar, &QDockWidget::close);
    connect(&m_bar, &QDockWidget::topLevelChanged, this, &CBarTitle::OnFloatingChanged);
    OnFloatingChanged(m_bar.isFloating());
}

void CBarTitle::OnFloatingChanged(bool floating) {
    m_pTitle->setVisible(floating);
    m_pClose->setVisible(floating);
    updateGeometry();
    update();
}

QSize CBarTitle::sizeHint() const {
    if (m_bar.isFloating()) {
        return QWidget::sizeHint();
    }
    return {kGripperHeight, kGripperHeight};
}

QSize CBarTitle::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

void CBarTitle::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (m_bar.isFloating()) {
        return;
    }
    // Two raised lines along the top of the docked bar, as a gripper.
    QPainter painter(this);
    const int right = width() - 3;
    for (int y : {2, 5}) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(2, y - 1, right, y - 1);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(2, y, right, y);
    }
}

void CBarTitle::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_onDoubleClick) {
        event->accept();
        m_onDoubleClick();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

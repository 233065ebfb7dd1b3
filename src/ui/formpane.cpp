#include "formpane.h"

CFormPane::CFormPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("formView"));
}

void CFormPane::SetWantedSize(const QSize& size) {
    m_wanted = size;
    updateGeometry();
}

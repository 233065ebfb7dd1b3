#include "boardtypedelegate.h"

#include "boardtype.h"
#include "latin1text.h"

QString CBoardTypeDelegate::displayText(const QVariant& value, const QLocale& locale) const {
    const QString model = QStyledItemDelegate::displayText(value, locale);
    const int ports = CBoardType(CLatin1Text::FromQt(model)).GetPortsPerBoard();
    if (ports <= 0) {
        return model;
    }
    return QStringLiteral("%1 - %2 ports").arg(model).arg(ports);
}

#pragma once

#include <QStyledItemDelegate>

// The open Board Type list shows each model with its number of ports ("RX-404 - 4 ports"), so
// that the person need not know the catalogue by heart; the entries themselves, which the
// board form reads back, stay the model names.
class CBoardTypeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};

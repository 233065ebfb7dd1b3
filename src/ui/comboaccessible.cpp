#include "comboaccessible.h"

#include <QComboBox>

namespace {
QAccessibleInterface* ComboFactory(const QString& className, QObject* object) {
    // Asked while the box is being made, before any name is given; the answer is kept.
    auto* combo = qobject_cast<QComboBox*>(object);
    if (className != QLatin1String("QComboBox") || combo == nullptr) {
        return nullptr;
    }
    return new CComboAccessible(*combo);
}
} // namespace

CComboAccessible::CComboAccessible(QComboBox& combo)
    : QAccessibleWidget(&combo, QAccessible::ComboBox) {}

QComboBox& CComboAccessible::Combo() const {
    return *static_cast<QComboBox*>(widget());
}

QString CComboAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        // Without a name of its own, the text of the label whose buddy it is.
        return Combo().accessibleName().isEmpty() ? QAccessibleWidget::text(t)
                                                  : Combo().accessibleName();
    case QAccessible::Value:
        return Combo().currentText();
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList CComboAccessible::actionNames() const {
    return QAccessibleWidget::actionNames() << showMenuAction();
}

void CComboAccessible::doAction(const QString& actionName) {
    if (actionName == showMenuAction()) {
        Combo().showPopup();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

void CComboAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(&ComboFactory);
        return true;
    }();
    (void)installed;
}

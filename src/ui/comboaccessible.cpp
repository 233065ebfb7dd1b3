#include "comboaccessible.h"

#include <QComboBox>
#include <QRect>
#include <algorithm>

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

void* CComboAccessible::interface_cast(QAccessible::InterfaceType type) {
    // An editable box's text is its line edit's, which speaks for itself.
    if (type == QAccessible::TextInterface && !Combo().isEditable()) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QString CComboAccessible::text(int startOffset, int endOffset) const {
    const QString shown = Combo().currentText();
    const int start = std::clamp(startOffset, 0, static_cast<int>(shown.size()));
    const int end = endOffset < 0 ? static_cast<int>(shown.size())
                                  : std::clamp(endOffset, start, static_cast<int>(shown.size()));
    return shown.mid(start, end - start);
}

int CComboAccessible::characterCount() const {
    return static_cast<int>(Combo().currentText().size());
}

void CComboAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

QRect CComboAccessible::characterRect(int) const {
    return {};
}

QString CComboAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return {};
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

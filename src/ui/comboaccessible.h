#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What a screen reader is told of a combo box: its name is its accessible name (or its buddy
// label's text), its value the text it shows. Qt's own interface names a combo box by its value on
// this platform, so that every list would be announced as what it holds.
class CComboAccessible : public QAccessibleWidget {
public:
    explicit CComboAccessible(QComboBox& combo);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Makes every combo box made from now on use this interface; once per process.
    static void Install();

private:
    QComboBox& Combo() const;
};

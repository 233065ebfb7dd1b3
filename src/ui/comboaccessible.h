#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What a screen reader is told of a combo box: its name is its accessible name (or its buddy
// label's text), its value the text it shows. Qt's own interface names a combo box by its value on
// this platform, so that every list would be announced as what it holds. The shown text is also
// offered as read-only text, which is how AT-SPI hands a fixed list's value to a screen reader.
class CComboAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit CComboAccessible(QComboBox& combo);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    // The shown text, read-only: no cursor, no selection.
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Makes every combo box made from now on use this interface; once per process.
    static void Install();

private:
    QComboBox& Combo() const;
};

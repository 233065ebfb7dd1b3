#pragma once

#include <QScrollArea>
#include <QSize>

// The form view's window: the central widget of the main frame. It wants the size of the view's
// form template; the form pages are children of its content, at its top-left corner while the
// pane has that size and in its middle when the window is made larger. When the pane is smaller
// than the controls of the page on show, it scrolls instead of cutting them off.
class CFormPane : public QScrollArea {
public:
    explicit CFormPane(QWidget* parent);

    // The parent of the form pages.
    QWidget& Content() const { return *widget(); }
    void SetWantedSize(const QSize& size);
    QSize sizeHint() const override { return m_wanted; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitContent();

    QSize m_wanted;
};

#pragma once

#include <QSize>
#include <QWidget>

// The form view's window: the central widget of the main frame. It wants the size of the view's
// form template; the form pages are its children at its top-left corner.
class CFormPane : public QWidget {
public:
    explicit CFormPane(QWidget* parent);

    void SetWantedSize(const QSize& size);
    QSize sizeHint() const override { return m_wanted; }

private:
    QSize m_wanted;
};

#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Converts dialog units to pixels with the metrics of the dialog font: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth of its height. The
// application's default font stands in for the 8-point dialog font of the templates.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;

    int BaseWidth() const { return m_baseWidth; }
    int BaseHeight() const { return m_baseHeight; }

private:
    int m_baseWidth = 0;
    int m_baseHeight = 0;
};

#include "dialogunits.h"

#include <QFontMetrics>

namespace {
// The average width over the 52 letters, rounded, as the dialog manager measures a font.
int AverageLetterWidth(const QFontMetrics& metrics) {
    const int total = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return (total / 26 + 1) / 2;
}
} // namespace

// Every form and pane of the window measures the same font: shaping the letters once will do.
CDialogUnits::CDialogUnits(const QFont& font) {
    static QString measured;
    static int baseWidth = 0;
    static int baseHeight = 0;
    // A font's key is never empty, so the first font is always measured.
    if (font.key() != measured) {
        const QFontMetrics metrics(font);
        measured = font.key();
        baseWidth = AverageLetterWidth(metrics);
        baseHeight = metrics.height();
    }
    m_baseWidth = baseWidth;
    m_baseHeight = baseHeight;
}

// Rounded to the nearest pixel, as the dialog manager maps its rectangles.
int CDialogUnits::X(int units) const {
    return (units * m_baseWidth + 2) / 4;
}

int CDialogUnits::Y(int units) const {
    return (units * m_baseHeight + 4) / 8;
}

QRect CDialogUnits::Rect(int x, int y, int width, int height) const {
    return {X(x), Y(y), X(width), Y(height)};
}

QSize CDialogUnits::Size(int width, int height) const {
    return {X(width), Y(height)};
}

#pragma once

#include <QProxyStyle>

// The application's style, except that a combo box opens its list as a list below the field of
// at most maxVisibleItems rows, also for a fixed list. Some styles open a fixed list as a menu
// over the field instead, as high as the screen when the list is long.
class CListPopupStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

#include "aboutbox.h"

#include "dialogunits.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {
constexpr int kIconSize = 32;
} // namespace

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Brimholde QSER 32bit Utility"));
    CDialogUnits units(font());
    setFixedSize(units.Size(217, 55));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(kIconSize, kIconSize));
    icon->setGeometry(units.X(11), units.Y(17), kIconSize, kIconSize);

    auto* version = new QLabel(QStringLiteral("QSER Utility Version 1.10"), this);
    const QRect textRect = units.Rect(40, 10, 119, 8);
    version->setGeometry(textRect.x(), textRect.y(),
                         std::max(textRect.width(), version->sizeHint().width()),
                         version->sizeHint().height());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(units.Rect(178, 7, 32, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

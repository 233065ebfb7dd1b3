#include "aboutbox.h"

#include "dialogunits.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {
constexpr int kIconSize = 32;
constexpr int kExtraHeight = 30;
} // namespace

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Brimholde QSER 32bit Utility"));
    CDialogUnits units(font());
    // The original box, with room below for what a desktop program says about itself.
    setFixedSize(units.Size(217, 55 + kExtraHeight));

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

    auto* details = new QLabel(this);
    details->setObjectName(QStringLiteral("aboutDetails"));
    details->setText(QStringLiteral("Release %1. Proprietary software: all rights reserved.\n"
                                    "Uses Qt %2 (built against Qt %3).")
                         .arg(QStringLiteral(QSER_VERSION), QString::fromLatin1(qVersion()),
                              QStringLiteral(QT_VERSION_STR)));
    details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QRect detailsRect = units.Rect(40, 30, 170, 20);
    details->setGeometry(detailsRect.x(), detailsRect.y(),
                         std::max(detailsRect.width(), details->sizeHint().width()),
                         details->sizeHint().height());

    auto* aboutQt = new QPushButton(QStringLiteral("About &Qt..."), this);
    const QRect aboutQtRect = units.Rect(150, 62, 60, 14);
    aboutQt->setGeometry(aboutQtRect.x(), aboutQtRect.y(),
                         std::max(aboutQtRect.width(), aboutQt->sizeHint().width()),
                         aboutQtRect.height());
    connect(aboutQt, &QPushButton::clicked, this, [] { QApplication::aboutQt(); });
}

#pragma once

#include <QDialog>

// Dialog 100: the application icon, the version line and an OK button; below them, the
// release, the licence and the version of Qt, and an About Qt button.
class CAboutBox : public QDialog {
public:
    explicit CAboutBox(QWidget* parent);
};

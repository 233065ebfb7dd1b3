#pragma once

#include <QDialog>

// Dialog 100: the application icon, the version line and an OK button.
class CAboutBox : public QDialog {
public:
    explicit CAboutBox(QWidget* parent);
};

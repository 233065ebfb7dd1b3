// Shows the status bar on the X display of DISPLAY and prints its three lock indicators, one
// line, e.g. "CAP=on NUM=off SCRL=off".
#include "framestatusbar.h"
#include "x11keyboardlockstate.h"

#include <QApplication>
#include <QLabel>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CX11KeyboardLockState locks;
    CFrameStatusBar bar(locks, nullptr);
    bar.show();
    QApplication::processEvents();
    bar.RefreshIndicators();
    const char* const names[] = {"CAP", "NUM", "SCRL"};
    QTextStream out(stdout);
    for (int i = 0; i < CFrameStatusBar::kIndicatorCount; ++i) {
        out << (i == 0 ? "" : " ") << names[i] << '='
            << (bar.Indicator(i)->text().isEmpty() ? "off" : "on");
    }
    out << '\n';
    return 0;
}

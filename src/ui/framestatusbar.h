#pragma once

#include <QStatusBar>

class IKeyboardLockState;
class QLabel;

// The status bar of the main window: the message pane, which shows the prompt of the command
// under the mouse and "Ready" when idle and takes the free width (the whole message is the
// bar's tooltip), and the CAP, NUM and SCRL indicators, which show their text while the lock is
// on and take no room while it is off. The indicators are read again on every key event and
// whenever a window of the program is activated. After the indicators, a pane names the registry
// file the window edits (shortened in the middle when long; the whole path is its tooltip).
class CFrameStatusBar : public QStatusBar {
public:
    // The lock state must outlive the bar.
    CFrameStatusBar(const IKeyboardLockState& locks, QWidget* parent);

    void RefreshIndicators();
    void SetRegistryFile(const QString& path);

    QLabel* RegistryFilePane() const { return m_pRegistryFile; }
    QLabel* Indicator(int index) const;
    static constexpr int kIndicatorCount = 3;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddIndicator(const QString& text);

    const IKeyboardLockState& m_locks;
    QLabel* m_indicators[kIndicatorCount] = {};
    QLabel* m_pRegistryFile = nullptr;
};

#pragma once

#include "ihelprequest.h"

#include <memory>

class QTextBrowser;
class QWidget;

// Help Topics: the bundled HTML help in a window of its own, opened at its contents page, with
// Back, Forward and Home, closed by Escape or Ctrl+W. The window is made on the first request,
// wholly on the screen the program is on, and raised by later ones.
class CHelpViewer : public IHelpRequest {
public:
    CHelpViewer();
    ~CHelpViewer() override;

    void WinHelp(unsigned data, unsigned command) override;
    // Both null before the first request.
    QWidget* Window() const { return m_pFrame.get(); }
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    void CreateWindow();
    void Place();

    std::unique_ptr<QWidget> m_pFrame;
    QTextBrowser* m_pBrowser = nullptr;
};

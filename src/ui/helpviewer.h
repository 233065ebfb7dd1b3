#pragma once

#include "ihelprequest.h"

#include <memory>

class QTextBrowser;

// Help Topics: the bundled HTML help in a window of its own, opened at its contents page. The
// window is made on the first request and raised by later ones.
class CHelpViewer : public IHelpRequest {
public:
    CHelpViewer();
    ~CHelpViewer() override;

    void WinHelp(unsigned data, unsigned command) override;
    QTextBrowser* Window() const { return m_pWindow.get(); }

private:
    std::unique_ptr<QTextBrowser> m_pWindow;
};

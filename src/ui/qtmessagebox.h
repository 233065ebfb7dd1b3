#pragma once

#include "imessagebox.h"

// The system's message boxes as QMessageBox, captioned "QSER", over the active window.
class CQtMessageBox : public IMessageBox {
public:
    EMsgResult Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) override;
};

#include "consentingmessagebox.h"

EMsgResult CConsentingMessageBox::Show(const std::string& text, EMsgButtons buttons,
                                       EMsgIcon icon) {
    if (buttons == EMsgButtons::YesNo) {
        return EMsgResult::Yes;
    }
    if (m_bQuiet && icon == EMsgIcon::Information) {
        return EMsgResult::Ok;
    }
    return m_inner.Show(text, buttons, icon);
}

#pragma once

#include "headlessdialog.h"
#include "idialogfactory.h"

#include <map>

// Creates headless form pages and remembers them by template id, so that a session or a test
// can reach the controls a person would use.
class CHeadlessDialogFactory : public IDialogFactory {
public:
    std::unique_ptr<IDialog> CreateDialog(const SDialogTemplate& dialogTemplate) override;
    // The page last created from the template; null before. Owned by the view.
    CHeadlessDialog* Dialog(int templateId) const;

private:
    std::map<int, CHeadlessDialog*> m_dialogs;
};

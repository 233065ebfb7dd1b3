#include "headlessdialogfactory.h"

std::unique_ptr<IDialog>
CHeadlessDialogFactory::CreateDialog(const SDialogTemplate& dialogTemplate) {
    auto dialog = std::make_unique<CHeadlessDialog>(dialogTemplate);
    m_dialogs[dialogTemplate.id] = dialog.get();
    return dialog;
}

CHeadlessDialog* CHeadlessDialogFactory::Dialog(int templateId) const {
    auto found = m_dialogs.find(templateId);
    return found == m_dialogs.end() ? nullptr : found->second;
}

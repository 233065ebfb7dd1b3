#include "qtdialogfactory.h"

#include "qtdialog.h"

std::unique_ptr<IDialog> CQtDialogFactory::CreateDialog(const SDialogTemplate& dialogTemplate) {
    return std::make_unique<CQtDialog>(dialogTemplate, &m_pane);
}

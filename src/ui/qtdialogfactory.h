#pragma once

#include "idialogfactory.h"

class QWidget;

// Creates the form pages as hidden children of the form pane, at its top-left corner.
class CQtDialogFactory : public IDialogFactory {
public:
    explicit CQtDialogFactory(QWidget& pane) : m_pane(pane) {}
    std::unique_ptr<IDialog> CreateDialog(const SDialogTemplate& dialogTemplate) override;

private:
    QWidget& m_pane;
};

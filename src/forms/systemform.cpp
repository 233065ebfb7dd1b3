#include "systemform.h"

#include "dialogtemplates.h"
#include "idialog.h"
#include "iedit.h"

CSystemForm::CSystemForm() = default;

CSystemForm::~CSystemForm() = default;

void CSystemForm::Create(std::unique_ptr<IDialog> dialog) {
    m_pDialog = std::move(dialog);
    m_SystemNameEdit = m_pDialog->Edit(IDC_SYSTEM_NAME);
    m_NumBoardsEdit = m_pDialog->Edit(IDC_NUM_BOARDS);
    m_NumPortsEdit = m_pDialog->Edit(IDC_NUM_PORTS);
}

void CSystemForm::UpdateData() {
    m_SystemNameEdit->SetWindowText(m_SystemName);
    m_NumBoardsEdit->SetWindowText(m_NumBoards);
    m_NumPortsEdit->SetWindowText(m_NumPorts);
}

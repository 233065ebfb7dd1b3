#include "portform.h"

#include "boardobj.h"
#include "boardtype.h"
#include "dialogtemplates.h"
#include "formcontrols.h"
#include "icombobox.h"
#include "idialog.h"
#include "iedit.h"
#include "messageservice.h"
#include "portobj.h"
#include "qserdoc.h"
#include "registry.h"
#include "registrymessages.h"
#include "stringtable.h"
#include "valuelists.h"

CPortForm::CPortForm() = default;

CPortForm::~CPortForm() = default;

void CPortForm::Create(std::unique_ptr<IDialog> dialog) {
    m_pDialog = std::move(dialog);
    m_PortAddressCombo = m_pDialog->ComboBox(IDC_PORT_ADDRESS);
    m_IRQCombo = m_pDialog->ComboBox(IDC_IRQ);
    m_COMPortCombo = m_pDialog->ComboBox(IDC_COM_PORT);
    m_PortNameEdit = m_pDialog->Edit(IDC_PORT_NAME);
    m_PortIndexEdit = m_pDialog->Edit(IDC_PORT_INDEX);
    m_PortAddressCombo->SetActivatedHandler(AsUserAction(this, &CPortForm::OnSelchangePortAddress));
    m_COMPortCombo->SetActivatedHandler(AsUserAction(this, &CPortForm::OnSelchangeCOMPort));
    m_IRQCombo->SetActivatedHandler(AsUserAction(this, &CPortForm::OnSelchangeIRQ));
}

void CPortForm::UpdateData() {
    m_PortAddressCombo->ShowValue(m_PortAddress);
    m_COMPortCombo->ShowValue(m_COMPort);
    m_IRQCombo->ShowValue(m_IRQ);
    m_PortNameEdit->SetWindowText(m_PortName);
    m_PortIndexEdit->SetWindowText(m_PortIndex);
}

void CPortForm::FillPortLists() {
    const CBoardObj* board = m_pDoc == nullptr ? nullptr : m_pDoc->m_pCurBoard;
    if (board == nullptr) {
        return;
    }
    CBoardType type(board->GetBoardType());
    FillComboBox(m_COMPortCombo, PortCOMPortList(board->GetStandardModeEnabled()));
    FillComboBox(m_IRQCombo,
                 board->GetBoardType() == "RQ-6001" ? PortIRQListShort() : PortIRQListFull());
    std::string mode = type.GetShareIRQMode();
    m_IRQCombo->EnableWindow(mode == "No" || (mode == "Both" && board->GetShareIRQEnabled() == 0));
    bool individual = type.IsIndividuallyAddressed() != 0;
    m_PortAddressCombo->EnableWindow(individual);
    m_COMPortCombo->EnableWindow(individual);
    if (individual) {
        FillComboBox(m_PortAddressCombo, PortAddressListP());
    }
}

void CPortForm::ApplyChoice(IComboBox* combo, std::string& member, unsigned valueNameId,
                            int (CPortObj::*setter)(std::string)) {
    member = combo->GetLBText(combo->GetCurSel());
    CPortObj* port = m_pDoc == nullptr ? nullptr : m_pDoc->m_pCurPort;
    if (member.empty() || port == nullptr) {
        return;
    }
    // Called through a local: GCC 12's vptr check misreads a member function pointer called on
    // m_pDoc->m_pCurPort as an access through a null CQSERDoc.
    (port->*setter)(member);
    m_pDoc->m_bConfigChanged = 1;
    WritePortStringValue(m_pDoc->m_pCurBoard, port, LoadString(valueNameId), member);
}

void CPortForm::OnSelchangePortAddress() {
    ApplyChoice(m_PortAddressCombo, m_PortAddress, IDS_PORT_ADDRESS, &CPortObj::SetPortAddress);
}

void CPortForm::OnSelchangeCOMPort() {
    ApplyChoice(m_COMPortCombo, m_COMPort, IDS_PORT_COM_PORT, &CPortObj::SetPortCOMPort);
}

void CPortForm::OnSelchangeIRQ() {
    ApplyChoice(m_IRQCombo, m_IRQ, IDS_PORT_IRQ, &CPortObj::SetPortIRQ);
}

int CPortForm::WritePortStringValue(const CBoardObj* board, const CPortObj* port,
                                    const std::string& valueName, const std::string& text) {
    if (board == nullptr || port == nullptr) {
        return 0;
    }
    CRegistry key;
    Win32Status status =
        key.OpenKey(DriverKeyPath() + "\\" + board->GetBoardName() + "\\" + port->GetPortName(), "",
                    KEY_ALL_ACCESS, 1);
    if (status != ERROR_SUCCESS) {
        if (status != ERROR_FILE_NOT_FOUND) {
            CMessageService::Error(kOpenRegistryFailed);
        }
        return 0;
    }
    status = key.WriteValue(valueName, text);
    key.CloseKey();
    if (status != ERROR_SUCCESS) {
        CMessageService::Error(kWriteRegistryFailed);
        return 0;
    }
    return 1;
}

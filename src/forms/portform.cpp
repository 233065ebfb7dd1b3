#include "portform.h"

#include "boardobj.h"
#include "boardtype.h"
#include "dialogtemplates.h"
#include "driverkeystore.h"
#include "formcontrols.h"
#include "portobj.h"
#include "qserdoc.h"
#include "recordfields.h"
#include "stringtable.h"
#include "valuelists.h"

CPortForm::CPortForm() = default;

CPortForm::~CPortForm() = default;

const std::vector<SFormField<CPortForm>>& CPortForm::Fields() {
    using F = CPortForm;
    static const std::vector<SFormField<CPortForm>> fields = {
        ComboField(IDS_PORT_ADDRESS, IDC_PORT_ADDRESS, &F::m_PortAddressCombo, &F::m_PortAddress),
        ComboField(IDS_PORT_COM_PORT, IDC_COM_PORT, &F::m_COMPortCombo, &F::m_COMPort),
        ComboField(IDS_PORT_IRQ, IDC_IRQ, &F::m_IRQCombo, &F::m_IRQ),
        EditField(IDS_PORT_NAME, IDC_PORT_NAME, &F::m_PortNameEdit, &F::m_PortName),
        EditField(IDS_PORT_INDEX, IDC_PORT_INDEX, &F::m_PortIndexEdit, &F::m_PortIndex),
    };
    return fields;
}

void CPortForm::Create(std::unique_ptr<IDialog> dialog) {
    m_pDialog = std::move(dialog);
    BindControls(*this, *m_pDialog, Fields());
    m_PortAddressCombo->SetActivatedHandler(
        AsUserAction(this, &CPortForm::OnSelchangePortAddress, "Port Address"));
    m_COMPortCombo->SetActivatedHandler(
        AsUserAction(this, &CPortForm::OnSelchangeCOMPort, "COM Port Mapped"));
    m_IRQCombo->SetActivatedHandler(AsUserAction(this, &CPortForm::OnSelchangeIRQ, "IRQ"));
}

void CPortForm::UpdateData() {
    ExchangeFields(*this, false, Fields());
}

void CPortForm::FillFromPort(const CPortObj& port) {
    FillFromRecord(*this, Fields(), port, PortFields());
}

void CPortForm::FillPortLists() {
    const CBoardObj* board = m_pDoc == nullptr ? nullptr : m_pDoc->m_pCurBoard;
    if (board == nullptr) {
        return;
    }
    const CBoardType type(board->GetBoardType());
    FillComboBox(m_COMPortCombo, PortCOMPortList(board->GetStandardModeEnabled()));
    FillComboBox(m_IRQCombo, type.GetPortIRQList());
    const EShareIRQMode mode = type.GetShareIRQModeKind();
    EnableOrSayWhy(*m_IRQCombo,
                   mode == EShareIRQMode::No ||
                       (mode == EShareIRQMode::Both && board->GetShareIRQEnabled() == 0),
                   "set by the board's shared interrupt");
    bool individual = type.IsIndividuallyAddressed() != 0;
    const bool standard = board->GetStandardModeEnabled() != 0;
    EnableOrSayWhy(*m_PortAddressCombo, individual,
                   standard ? "set by the board's standard mode"
                            : "set by the board's base address");
    EnableOrSayWhy(*m_COMPortCombo, individual,
                   standard ? "set by the board's standard mode"
                            : "set by the board's base COM port");
    if (individual) {
        FillComboBox(m_PortAddressCombo, PortAddressListP());
    }
    if (m_pDoc->IsReadOnly()) {
        DisableChoices(*this, Fields());
    }
}

void CPortForm::ApplyChoice(unsigned valueNameId) {
    const SFormField<CPortForm>& field = *FindFormField(Fields(), valueNameId);
    IComboBox& combo = *(this->*field.combo);
    std::string& member = this->*field.text;
    member = combo.GetLBText(combo.GetCurSel());
    CPortObj* port = m_pDoc == nullptr ? nullptr : m_pDoc->m_pCurPort;
    if (member.empty() || port == nullptr) {
        return;
    }
    PortField(valueNameId).SetText(*port, member);
    m_pDoc->m_bConfigChanged = 1;
    WritePortStringValue(m_pDoc->m_pCurBoard, port, LoadString(valueNameId), member);
}

void CPortForm::OnSelchangePortAddress() {
    ApplyChoice(IDS_PORT_ADDRESS);
}

void CPortForm::OnSelchangeCOMPort() {
    ApplyChoice(IDS_PORT_COM_PORT);
}

void CPortForm::OnSelchangeIRQ() {
    ApplyChoice(IDS_PORT_IRQ);
}

int CPortForm::WritePortStringValue(const CBoardObj* board, const CPortObj* port,
                                    const std::string& valueName, const std::string& text) {
    if (board == nullptr || port == nullptr) {
        return 0;
    }
    return CDriverKeyStore::WritePortValue(board->GetBoardName(), port->GetPortName(), valueName,
                                           text);
}

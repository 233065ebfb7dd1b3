#include "boardform.h"

#include "boardobj.h"
#include "boardtype.h"
#include "dialogtemplates.h"
#include "formcontrols.h"
#include "icheckbox.h"
#include "icombobox.h"
#include "idialog.h"
#include "iedit.h"
#include "messageservice.h"
#include "portderivation.h"
#include "portform.h"
#include "portobj.h"
#include "qserdoc.h"
#include "registry.h"
#include "registrymessages.h"
#include "stringtable.h"
#include "valuelists.h"

#include <algorithm>

namespace {
constexpr const char* kNone = "NONE";

void Exchange(bool save, IComboBox* combo, std::string& member) {
    if (save) {
        member = combo->GetWindowText();
    } else {
        combo->ShowValue(member);
    }
}

void Exchange(bool save, ICheckBox* check, int& member) {
    if (save) {
        member = check->GetCheck();
    } else {
        check->SetCheck(member);
    }
}

void Exchange(bool save, IEdit* edit, std::string& member) {
    if (save) {
        member = edit->GetWindowText();
    } else {
        edit->SetWindowText(member);
    }
}

// Writes one value of the board's key, which must exist; reports a failed open or write.
template <typename Value>
int WriteBoardValue(const CBoardObj* board, const std::string& valueName, const Value& value) {
    if (board == nullptr) {
        return 0;
    }
    CRegistry key;
    if (key.OpenKey(DriverKeyPath() + "\\" + board->GetBoardName(), "", KEY_ALL_ACCESS, 1) !=
        ERROR_SUCCESS) {
        CMessageService::Error(kOpenRegistryFailed);
        return 0;
    }
    Win32Status status = key.WriteValue(valueName, value);
    key.CloseKey();
    if (status != ERROR_SUCCESS) {
        CMessageService::Error(kWriteRegistryFailed);
        return 0;
    }
    return 1;
}
} // namespace

CBoardForm::CBoardForm() = default;

CBoardForm::~CBoardForm() = default;

void CBoardForm::Create(std::unique_ptr<IDialog> dialog) {
    m_pDialog = std::move(dialog);
    m_StandardModeCheck = m_pDialog->CheckBox(IDC_STANDARD_MODE_ENABLE);
    m_BoardTypeCombo = m_pDialog->ComboBox(IDC_BOARD_TYPE);
    m_BaseCOMPortCombo = m_pDialog->ComboBox(IDC_BASE_COM_PORT);
    m_BaseAddressCombo = m_pDialog->ComboBox(IDC_BASE_ADDRESS);
    m_VectorAddressCombo = m_pDialog->ComboBox(IDC_VECTOR_ADDRESS);
    m_ShareIRQCombo = m_pDialog->ComboBox(IDC_SHARE_IRQ);
    m_ShareIRQEnableCheck = m_pDialog->CheckBox(IDC_SHARE_IRQ_ENABLE);
    m_BoardNameEdit = m_pDialog->Edit(IDC_BOARD_NAME);
    BindHandlers();
}

void CBoardForm::BindHandlers() {
    m_ShareIRQEnableCheck->SetClickedHandler(AsUserAction(this, &CBoardForm::OnShareIRQEnable));
    m_BoardTypeCombo->SetActivatedHandler(AsUserAction(this, &CBoardForm::OnSelchangeBoardType));
    m_BaseAddressCombo->SetActivatedHandler(
        AsUserAction(this, &CBoardForm::OnSelchangeBaseAddress));
    m_BaseCOMPortCombo->SetActivatedHandler(
        AsUserAction(this, &CBoardForm::OnSelchangeBaseCOMPort));
    m_ShareIRQCombo->SetActivatedHandler(AsUserAction(this, &CBoardForm::OnSelchangeShareIRQ));
    m_VectorAddressCombo->SetActivatedHandler(
        AsUserAction(this, &CBoardForm::OnSelchangeVectorAddress));
    m_StandardModeCheck->SetClickedHandler(AsUserAction(this, &CBoardForm::OnStandardModeEnable));
}

void CBoardForm::UpdateData(bool save) {
    Exchange(save, m_BaseAddressCombo, m_BaseAddress);
    Exchange(save, m_BaseCOMPortCombo, m_BaseCOMPort);
    Exchange(save, m_BoardNameEdit, m_BoardName);
    Exchange(save, m_ShareIRQCombo, m_ShareIRQ);
    Exchange(save, m_ShareIRQEnableCheck, m_ShareIRQEnable);
    Exchange(save, m_BoardTypeCombo, m_BoardType);
    Exchange(save, m_VectorAddressCombo, m_VectorAddress);
    Exchange(save, m_StandardModeCheck, m_StandardModeEnable);
}

CBoardObj* CBoardForm::Board() const {
    return m_pDoc == nullptr ? nullptr : m_pDoc->m_pCurBoard;
}

void CBoardForm::SetChanged() const {
    m_pDoc->m_bConfigChanged = 1;
}

std::string CBoardForm::SelectedText(const IComboBox* combo) const {
    return combo->GetLBText(combo->GetCurSel());
}

void CBoardForm::WriteText(unsigned valueNameId, const std::string& value) {
    WriteBoardStringValue(Board(), LoadString(valueNameId), value);
}

void CBoardForm::WriteFlag(unsigned valueNameId, int value) {
    WriteBoardDWordValue(Board(), LoadString(valueNameId), static_cast<std::uint32_t>(value));
}

void CBoardForm::WritePortValue(CBoardObj* board, int portIndex, unsigned valueNameId) {
    if (m_pPortForm == nullptr) {
        return;
    }
    CPortObj* port = board->m_PortList[static_cast<std::size_t>(portIndex)];
    std::string value;
    if (valueNameId == IDS_PORT_ADDRESS) {
        value = port->GetPortAddress();
    } else if (valueNameId == IDS_PORT_COM_PORT) {
        value = port->GetPortCOMPort();
    } else {
        value = port->GetPortIRQ();
    }
    m_pPortForm->WritePortStringValue(board, port, LoadString(valueNameId), value);
}

int CBoardForm::WriteBoardStringValue(const CBoardObj* board, const std::string& valueName,
                                      const std::string& value) {
    return WriteBoardValue(board, valueName, value);
}

int CBoardForm::WriteBoardDWordValue(const CBoardObj* board, const std::string& valueName,
                                     std::uint32_t value) {
    return WriteBoardValue(board, valueName, value);
}

// ---- model rules ----------------------------------------------------------------------------

void CBoardForm::EnableBaseControls(bool enabled) {
    m_BaseAddressCombo->EnableWindow(enabled);
    m_BaseCOMPortCombo->EnableWindow(enabled);
}

void CBoardForm::EnableSharedControls(bool enabled) {
    m_VectorAddressCombo->EnableWindow(enabled);
    m_ShareIRQCombo->EnableWindow(enabled);
}

void CBoardForm::ClearSharing(CBoardObj& board) {
    m_VectorAddress = kNone;
    m_ShareIRQ = kNone;
    m_ShareIRQEnable = 0;
    board.SetVectorAddress(kNone);
    board.SetShareIRQ(kNone);
    board.SetShareIRQEnabled(0);
}

void CBoardForm::TakeSharedValues(CBoardObj& board) {
    m_VectorAddress = board.GetVectorAddress();
    if (m_VectorAddress == kNone) {
        m_VectorAddress = kVectorAddressWhenSharing;
        board.SetVectorAddress(m_VectorAddress);
    }
    m_ShareIRQ = board.GetShareIRQ();
    if (m_ShareIRQ == kNone) {
        m_ShareIRQ = kSharedIRQWhenSharing;
        board.SetShareIRQ(m_ShareIRQ);
    }
}

void CBoardForm::ClearBase(CBoardObj& board) {
    m_BaseAddress = kNone;
    m_BaseCOMPort = kNone;
    board.SetBaseAddress(kNone);
    board.SetBaseCOMPort(kNone);
}

void CBoardForm::ApplyAddressing(CBoardObj& board, bool individual,
                                 const std::string& minBaseAddress) {
    if (individual) {
        m_BaseAddressCombo->ResetContent();
        EnableBaseControls(false);
        ClearBase(board);
        return;
    }
    EnableBaseControls(true);
    FillComboBox(m_BaseAddressCombo,
                 minBaseAddress == "0x200" ? BaseAddressListB1() : BaseAddressListB2());
}

void CBoardForm::ApplySharingMode(CBoardObj& board, const std::string& mode,
                                  const std::string& minVectorAddress) {
    if (mode == "No") {
        m_ShareIRQEnableCheck->EnableWindow(false);
        EnableSharedControls(false);
        ClearSharing(board);
        return;
    }
    if (mode == "Both") {
        m_ShareIRQEnableCheck->EnableWindow(true);
        if (board.GetShareIRQEnabled() != 0) {
            EnableSharedControls(true);
            TakeSharedValues(board);
            m_ShareIRQEnable = 1;
        } else {
            EnableSharedControls(false);
            ClearSharing(board);
        }
    } else {
        m_ShareIRQEnableCheck->EnableWindow(false);
        EnableSharedControls(true);
        m_ShareIRQEnable = 1;
        TakeSharedValues(board);
        board.SetShareIRQEnabled(1);
    }
    FillComboBox(m_VectorAddressCombo,
                 minVectorAddress == "0x200" ? VectorAddressListV1() : VectorAddressListV2());
}

void CBoardForm::ApplyBoardTypeRules() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    CBoardType type(board->GetBoardType());
    FillComboBox(m_BaseCOMPortCombo, BaseCOMPortList());
    bool individual = type.IsIndividuallyAddressed() != 0;
    ApplyAddressing(*board, individual, individual ? "" : type.GetMinBaseAddress());
    std::string mode = type.GetShareIRQMode();
    ApplySharingMode(*board, mode, mode == "No" ? "" : type.GetMinVectorAddress());
    m_StandardModeCheck->EnableWindow(type.SupportsStandardMode() == 1);
    if (!individual) {
        EnableBaseControls(board->GetStandardModeEnabled() == 0);
    }
}

// ---- handlers -------------------------------------------------------------------------------

void CBoardForm::OnSelchangeBaseAddress() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    m_BaseAddress = SelectedText(m_BaseAddressCombo);
    board->SetBaseAddress(m_BaseAddress);
    SetChanged();
    WriteText(IDS_BOARD_BASE_ADDRESS, m_BaseAddress);
    if (board->m_PortList.empty() || CBoardType(board->GetBoardType()).IsIndividuallyAddressed()) {
        return;
    }
    for (std::size_t i = 0; i < board->m_PortList.size(); ++i) {
        board->m_PortList[i]->SetPortAddress(
            MakePortAddress(board->GetBaseAddress(), static_cast<int>(i)));
        WritePortValue(board, static_cast<int>(i), IDS_PORT_ADDRESS);
    }
}

void CBoardForm::OnSelchangeBaseCOMPort() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    m_BaseCOMPort = SelectedText(m_BaseCOMPortCombo);
    board->SetBaseCOMPort(m_BaseCOMPort);
    SetChanged();
    WriteText(IDS_BOARD_BASE_COM_PORT, m_BaseCOMPort);
    for (std::size_t i = 0; i < board->m_PortList.size(); ++i) {
        board->m_PortList[i]->SetPortCOMPort(
            MakePortCOMPort(board->GetBaseCOMPort(), static_cast<int>(i)));
        WritePortValue(board, static_cast<int>(i), IDS_PORT_COM_PORT);
    }
}

void CBoardForm::OnSelchangeShareIRQ() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    m_ShareIRQ = SelectedText(m_ShareIRQCombo);
    board->SetShareIRQ(m_ShareIRQ);
    SetChanged();
    WriteText(IDS_BOARD_SHARE_IRQ, m_ShareIRQ);
    if (board->GetShareIRQEnabled() == 0) {
        return;
    }
    for (std::size_t i = 0; i < board->m_PortList.size(); ++i) {
        board->m_PortList[i]->SetPortIRQ(board->GetShareIRQ());
        WritePortValue(board, static_cast<int>(i), IDS_PORT_IRQ);
    }
}

void CBoardForm::OnSelchangeVectorAddress() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    m_VectorAddress = SelectedText(m_VectorAddressCombo);
    board->SetVectorAddress(m_VectorAddress);
    SetChanged();
    WriteText(IDS_BOARD_VECTOR_ADDRESS, m_VectorAddress);
}

void CBoardForm::SetStandardModeIRQs(CBoardObj& board) {
    const auto& table = StandardModeTable();
    std::size_t count = std::min(board.m_PortList.size(), table.size());
    for (std::size_t i = 0; i < count; ++i) {
        board.m_PortList[i]->SetPortIRQ(table[i].irq);
        WritePortValue(&board, static_cast<int>(i), IDS_PORT_IRQ);
    }
}

void CBoardForm::OnShareIRQEnable() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    UpdateData(true);
    board->SetShareIRQEnabled(m_ShareIRQEnable);
    SetChanged();
    if (m_ShareIRQEnable != 0) {
        EnableSharedControls(true);
        m_ShareIRQ = kSharedIRQWhenSharing;
        board->SetShareIRQ(m_ShareIRQ);
        m_VectorAddress = kVectorAddressWhenSharing;
        board->SetVectorAddress(m_VectorAddress);
        for (std::size_t i = 0; i < board->m_PortList.size(); ++i) {
            board->m_PortList[i]->SetPortIRQ(board->GetShareIRQ());
            WritePortValue(board, static_cast<int>(i), IDS_PORT_IRQ);
        }
    } else {
        m_ShareIRQ = kNone;
        board->SetShareIRQ(kNone);
        m_VectorAddress = kNone;
        board->SetVectorAddress(kNone);
        EnableSharedControls(false);
        if (m_StandardModeEnable != 0) {
            EnableBaseControls(false);
            ClearBase(*board);
            SetStandardModeIRQs(*board);
        }
    }
    UpdateData(false);
    WriteFlag(IDS_BOARD_SHARE_IRQ_ENABLED, m_ShareIRQEnable);
    WriteText(IDS_BOARD_VECTOR_ADDRESS, m_VectorAddress);
    WriteText(IDS_BOARD_SHARE_IRQ, m_ShareIRQ);
}

void CBoardForm::OnSelchangeBoardType() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    if (!board->m_PortList.empty()) {
        CMessageService::Notice("Remove all ports on this board first!");
        m_BoardType = board->GetBoardType();
        UpdateData(false);
        return;
    }
    m_BoardType = SelectedText(m_BoardTypeCombo);
    board->SetBoardType(m_BoardType);
    SetChanged();
    WriteText(IDS_BOARD_TYPE, m_BoardType);
    ApplyBoardTypeRules();
    UpdateData(false);
}

void CBoardForm::SetStandardPorts(CBoardObj& board, bool standard) {
    const auto& table = StandardModeTable();
    std::size_t count = std::min(board.m_PortList.size(), table.size());
    for (std::size_t i = 0; i < count; ++i) {
        CPortObj* port = board.m_PortList[i];
        port->SetPortAddress(standard ? table[i].address : table[i].addressAfter);
        WritePortValue(&board, static_cast<int>(i), IDS_PORT_ADDRESS);
        port->SetPortCOMPort(standard ? table[i].comPort : table[i].comPortAfter);
        WritePortValue(&board, static_cast<int>(i), IDS_PORT_COM_PORT);
    }
}

void CBoardForm::OnStandardModeEnable() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    UpdateData(true);
    board->SetStandardModeEnabled(m_StandardModeEnable);
    WriteFlag(IDS_BOARD_STANDARD_MODE_ENABLED, m_StandardModeEnable);
    SetChanged();
    if (m_StandardModeEnable != 0) {
        EnableBaseControls(false);
        ClearBase(*board);
    } else {
        m_BaseAddress = kBaseAddressAfterStandardMode;
        board->SetBaseAddress(m_BaseAddress);
        m_BaseCOMPort = kBaseCOMPortAfterStandardMode;
        board->SetBaseCOMPort(m_BaseCOMPort);
        EnableBaseControls(true);
    }
    SetStandardPorts(*board, m_StandardModeEnable != 0);
    UpdateData(false);
    WriteText(IDS_BOARD_BASE_ADDRESS, m_BaseAddress);
    WriteText(IDS_BOARD_BASE_COM_PORT, m_BaseCOMPort);
}

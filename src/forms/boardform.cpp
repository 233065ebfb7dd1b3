#include "boardform.h"

#include "boardobj.h"
#include "boardtype.h"
#include "dialogtemplates.h"
#include "driverkeystore.h"
#include "formcontrols.h"
#include "messageservice.h"
#include "portderivation.h"
#include "portform.h"
#include "portobj.h"
#include "qserdoc.h"
#include "recordfields.h"
#include "stringtable.h"
#include "valuelists.h"

namespace {
constexpr const char* kNone = "NONE";
constexpr const char* kAddressesEachPort = "this model addresses each port";
constexpr const char* kCannotShare = "this model cannot share its interrupt";

template <typename Value>
int WriteValueOf(const CBoardObj* board, const std::string& valueName, const Value& value) {
    return board == nullptr
               ? 0
               : CDriverKeyStore::WriteBoardValue(board->GetBoardName(), valueName, value);
}
} // namespace

CBoardForm::CBoardForm() = default;

CBoardForm::~CBoardForm() = default;

const std::vector<SFormField<CBoardForm>>& CBoardForm::Fields() {
    using F = CBoardForm;
    static const std::vector<SFormField<CBoardForm>> fields = {
        ComboField(IDS_BOARD_BASE_ADDRESS, IDC_BASE_ADDRESS, &F::m_BaseAddressCombo,
                   &F::m_BaseAddress),
        ComboField(IDS_BOARD_BASE_COM_PORT, IDC_BASE_COM_PORT, &F::m_BaseCOMPortCombo,
                   &F::m_BaseCOMPort),
        EditField(IDS_BOARD_NAME, IDC_BOARD_NAME, &F::m_BoardNameEdit, &F::m_BoardName),
        ComboField(IDS_BOARD_SHARE_IRQ, IDC_SHARE_IRQ, &F::m_ShareIRQCombo, &F::m_ShareIRQ),
        CheckField(IDS_BOARD_SHARE_IRQ_ENABLED, IDC_SHARE_IRQ_ENABLE, &F::m_ShareIRQEnableCheck,
                   &F::m_ShareIRQEnable),
        ComboField(IDS_BOARD_TYPE, IDC_BOARD_TYPE, &F::m_BoardTypeCombo, &F::m_BoardType),
        ComboField(IDS_BOARD_VECTOR_ADDRESS, IDC_VECTOR_ADDRESS, &F::m_VectorAddressCombo,
                   &F::m_VectorAddress),
        CheckField(IDS_BOARD_STANDARD_MODE_ENABLED, IDC_STANDARD_MODE_ENABLE,
                   &F::m_StandardModeCheck, &F::m_StandardModeEnable),
    };
    return fields;
}

void CBoardForm::Create(std::unique_ptr<IDialog> dialog) {
    m_pDialog = std::move(dialog);
    BindControls(*this, *m_pDialog, Fields());
    BindHandlers();
}

void CBoardForm::BindHandlers() {
    m_ShareIRQEnableCheck->SetClickedHandler(
        AsUserAction(this, &CBoardForm::OnShareIRQEnable, "Share IRQ Enable"));
    m_BoardTypeCombo->SetActivatedHandler(
        AsUserAction(this, &CBoardForm::OnSelchangeBoardType, "Board Type"));
    m_BaseAddressCombo->SetActivatedHandler(
        AsUserAction(this, &CBoardForm::OnSelchangeBaseAddress, "Base Address"));
    m_BaseCOMPortCombo->SetActivatedHandler(
        AsUserAction(this, &CBoardForm::OnSelchangeBaseCOMPort, "Base COM Port"));
    m_ShareIRQCombo->SetActivatedHandler(
        AsUserAction(this, &CBoardForm::OnSelchangeShareIRQ, "Share IRQ"));
    m_VectorAddressCombo->SetActivatedHandler(
        AsUserAction(this, &CBoardForm::OnSelchangeVectorAddress, "Vector Address"));
    m_StandardModeCheck->SetClickedHandler(
        AsUserAction(this, &CBoardForm::OnStandardModeEnable, "Standard Mode Enable"));
}

void CBoardForm::UpdateData(bool save) {
    ExchangeFields(*this, save, Fields());
}

void CBoardForm::FillFromBoard(const CBoardObj& board) {
    FillFromRecord(*this, Fields(), board, BoardFields());
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

void CBoardForm::CarryOver(CBoardObj& board, EBoardChange change) {
    const std::vector<SPortChange> changes = CarryOverToPorts(board, change);
    if (m_pPortForm == nullptr) {
        return;
    }
    for (const SPortChange& changed : changes) {
        const CPortObj& port = *board.m_PortList[changed.portIndex];
        m_pPortForm->WritePortStringValue(&board, &port, LoadString(changed.valueNameId),
                                          PortField(changed.valueNameId).Text(port));
    }
}

int CBoardForm::WriteBoardStringValue(const CBoardObj* board, const std::string& valueName,
                                      const std::string& value) {
    return WriteValueOf(board, valueName, value);
}

int CBoardForm::WriteBoardDWordValue(const CBoardObj* board, const std::string& valueName,
                                     std::uint32_t value) {
    return WriteValueOf(board, valueName, value);
}

// ---- model rules ----------------------------------------------------------------------------

void CBoardForm::EnableBaseControls(bool enabled) {
    const CBoardObj* board = Board();
    const bool individual =
        board != nullptr && CBoardType(board->GetBoardType()).IsIndividuallyAddressed() != 0;
    const std::string why = individual ? kAddressesEachPort : "set by standard mode";
    EnableOrSayWhy(*m_BaseAddressCombo, enabled, why);
    EnableOrSayWhy(*m_BaseCOMPortCombo, enabled, why);
}

void CBoardForm::EnableSharedControls(bool enabled) {
    const CBoardObj* board = Board();
    const bool canShare =
        board != nullptr &&
        CBoardType(board->GetBoardType()).GetShareIRQModeKind() != EShareIRQMode::No;
    const std::string why =
        canShare ? "the board does not share its interrupt (Share IRQ Enable)" : kCannotShare;
    EnableOrSayWhy(*m_VectorAddressCombo, enabled, why);
    EnableOrSayWhy(*m_ShareIRQCombo, enabled, why);
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

void CBoardForm::ApplyAddressing(CBoardObj& board, const CBoardType& type) {
    if (type.IsIndividuallyAddressed() != 0) {
        m_BaseAddressCombo->ResetContent();
        EnableBaseControls(false);
        ClearBase(board);
        return;
    }
    EnableBaseControls(true);
    FillComboBox(m_BaseAddressCombo, type.GetBaseAddressList());
}

void CBoardForm::ApplySharingMode(CBoardObj& board, const CBoardType& type) {
    const EShareIRQMode mode = type.GetShareIRQModeKind();
    if (mode == EShareIRQMode::No) {
        EnableOrSayWhy(*m_ShareIRQEnableCheck, false, kCannotShare);
        EnableSharedControls(false);
        ClearSharing(board);
        return;
    }
    if (mode == EShareIRQMode::Both) {
        EnableOrSayWhy(*m_ShareIRQEnableCheck, true, "");
        if (board.GetShareIRQEnabled() != 0) {
            EnableSharedControls(true);
            TakeSharedValues(board);
            m_ShareIRQEnable = 1;
        } else {
            EnableSharedControls(false);
            ClearSharing(board);
        }
    } else {
        EnableOrSayWhy(*m_ShareIRQEnableCheck, false, "this model always shares its interrupt");
        EnableSharedControls(true);
        m_ShareIRQEnable = 1;
        TakeSharedValues(board);
        board.SetShareIRQEnabled(1);
    }
    FillComboBox(m_VectorAddressCombo, type.GetVectorAddressList());
}

void CBoardForm::ApplyBoardTypeRules() {
    CBoardObj* board = Board();
    if (board == nullptr) {
        return;
    }
    const CBoardType type(board->GetBoardType());
    FillComboBox(m_BaseCOMPortCombo, BaseCOMPortList());
    ApplyAddressing(*board, type);
    ApplySharingMode(*board, type);
    EnableOrSayWhy(*m_StandardModeCheck, type.SupportsStandardMode() == 1,
                   "this model has no standard mode");
    if (type.IsIndividuallyAddressed() == 0) {
        EnableBaseControls(board->GetStandardModeEnabled() == 0);
    }
    if (m_pDoc->IsReadOnly()) {
        DisableChoices(*this, Fields());
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
    CarryOver(*board, EBoardChange::BaseAddress);
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
    CarryOver(*board, EBoardChange::BaseCOMPort);
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
    CarryOver(*board, EBoardChange::ShareIRQ);
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
        CarryOver(*board, EBoardChange::SharingOn);
    } else {
        m_ShareIRQ = kNone;
        board->SetShareIRQ(kNone);
        m_VectorAddress = kNone;
        board->SetVectorAddress(kNone);
        EnableSharedControls(false);
        if (m_StandardModeEnable != 0) {
            EnableBaseControls(false);
            ClearBase(*board);
            CarryOver(*board, EBoardChange::SharingOff);
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
    CarryOver(*board, m_StandardModeEnable != 0 ? EBoardChange::StandardModeOn
                                                : EBoardChange::StandardModeOff);
    UpdateData(false);
    WriteText(IDS_BOARD_BASE_ADDRESS, m_BaseAddress);
    WriteText(IDS_BOARD_BASE_COM_PORT, m_BaseCOMPort);
}

#include "qserdoc.h"

#include "appcontext.h"
#include "boardobj.h"
#include "boardtype.h"
#include "driverkeycounts.h"
#include "driverkeystore.h"
#include "hive.h"
#include "icmdui.h"
#include "idocumentview.h"
#include "ihelprequest.h"
#include "itreecontrol.h"
#include "keypaths.h"
#include "linuxregistration.h"
#include "messageservice.h"
#include "platformfamily.h"
#include "platformservices.h"
#include "portderivation.h"
#include "portobj.h"
#include "portregistration.h"
#include "serialservice.h"
#include "stringtable.h"
#include "textnumbers.h"
#include "treenodemanagerbase.h"

#include <algorithm>
#include <climits>

namespace {
constexpr const char* kCannotAddBoard = "Unable to add board object!";
constexpr const char* kCannotAddPort = "Unable to add port object!";
constexpr const char* kCannotRemoveBoard = "Unable to remove board object!";
constexpr const char* kCannotRemovePort = "Unable to remove port object!";
constexpr const char* kSaved = "Configuration's been saved to registry!";

template <typename Record> ItemKey KeyOf(const Record* record) {
    return reinterpret_cast<ItemKey>(record);
}

std::string Decimal(int number) {
    return std::to_string(std::max(number, 0));
}

// A count read from the registry can be any text, the largest int included: the sum stays
// within int instead of overflowing.
int Shifted(const std::string& count, int by) {
    const long long sum = static_cast<long long>(LeadingInt(count)) + by;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}
} // namespace

CQSERDoc::CQSERDoc() : m_systemName(kInitialSystemName), m_numBoards("0"), m_numPorts("0") {}

CQSERDoc::~CQSERDoc() {
    DestroyRecords();
}

void CQSERDoc::DestroyRecords() {
    for (CBoardObj* board : m_boardList) {
        for (CPortObj* port : board->m_PortList) {
            delete port;
        }
        delete board;
    }
    m_boardList.clear();
    m_pCurBoard = nullptr;
    m_pCurPort = nullptr;
}

bool CQSERDoc::OnNewDocument() {
    m_bLoaded = LoadConfiguration() == 1;
    CHive* hive = CHive::Current();
    m_bReadOnly = hive != nullptr && hive->IsReadOnly();
    if (hive != nullptr) {
        hive->ChangedSinceLastLook();
    }
    return m_bLoaded;
}

std::string CQSERDoc::ReloadConfiguration(EReloadCause cause) {
    const int kind = m_selectionKind;
    const std::string boardName = m_pCurBoard != nullptr ? m_pCurBoard->GetBoardName() : "";
    const std::string portName = m_pCurPort != nullptr ? m_pCurPort->GetPortName() : "";
    // The tree goes first, while its items still name live records.
    m_selectionKind = kSelectionDriver;
    if (ITreeControl* tree = CAppContext::TreeControl()) {
        tree->DeleteAllItems();
    }
    DestroyRecords();
    OnNewDocument();
    PopulateTree();
    std::string vanished = Reselect(kind, boardName, portName);
    // Without a tree no selection handler has shown the new records.
    UpdateAllViews();
    if (cause == EReloadCause::AnotherProgram) {
        for (IDocumentView* view : m_views) {
            view->OnConfigurationReloaded();
        }
    }
    return vanished;
}

std::string CQSERDoc::Reselect(int kind, const std::string& boardName,
                               const std::string& portName) {
    if (kind != kSelectionBoard && kind != kSelectionPort) {
        return "";
    }
    auto board = std::find_if(m_boardList.begin(), m_boardList.end(),
                              [&](const CBoardObj* b) { return b->GetBoardName() == boardName; });
    const std::string selected = kind == kSelectionPort ? boardName + "\\" + portName : boardName;
    if (board == m_boardList.end()) {
        return selected;
    }
    m_pCurBoard = *board;
    const std::vector<CPortObj*>& ports = (*board)->m_PortList;
    auto port = std::find_if(ports.begin(), ports.end(),
                             [&](const CPortObj* p) { return p->GetPortName() == portName; });
    if (kind == kSelectionPort && port != ports.end()) {
        m_selectionKind = kSelectionPort;
        m_pCurPort = *port;
        RevealAndSelect((*port)->m_hTreeItem);
        return "";
    }
    m_selectionKind = kSelectionBoard;
    RevealAndSelect((*board)->m_hTreeItem);
    return kind == kSelectionPort ? selected : "";
}

void CQSERDoc::AddView(IDocumentView* view) {
    m_views.push_back(view);
}

void CQSERDoc::RemoveView(IDocumentView* view) {
    std::erase(m_views, view);
}

void CQSERDoc::UpdateAllViews() {
    for (IDocumentView* view : m_views) {
        view->OnUpdate();
    }
}

// ---- counters -------------------------------------------------------------------------------

void CQSERDoc::SetSystemName(const std::string& name) {
    m_systemName = name;
}

void CQSERDoc::SetNumBoards(const std::string& number) {
    m_numBoards = number;
}

void CQSERDoc::SetNumBoards(int number) {
    m_numBoards = Decimal(number);
}

std::string CQSERDoc::IncNumBoards() {
    SetNumBoards(Shifted(m_numBoards, 1));
    return m_numBoards;
}

std::string CQSERDoc::DecNumBoards() {
    SetNumBoards(Shifted(m_numBoards, -1));
    return m_numBoards;
}

void CQSERDoc::SetNumPorts(const std::string& number) {
    m_numPorts = number;
}

void CQSERDoc::SetNumPorts(int number) {
    m_numPorts = Decimal(number);
}

std::string CQSERDoc::AddNumPorts(int count) {
    SetNumPorts(Shifted(m_numPorts, count));
    return m_numPorts;
}

std::string CQSERDoc::SubNumPorts(int count) {
    SetNumPorts(Shifted(m_numPorts, -count));
    return m_numPorts;
}

// ---- records --------------------------------------------------------------------------------

CBoardObj* CQSERDoc::Adopt(CBoardObj* board) {
    m_boardList.push_back(board);
    board->SetItemKey(KeyOf(board));
    m_pCurBoard = board;
    IncNumBoards();
    return board;
}

CPortObj* CQSERDoc::Adopt(CPortObj* port) {
    m_pCurBoard->m_PortList.push_back(port);
    port->SetItemKey(KeyOf(port));
    m_pCurPort = port;
    AddNumPorts(1);
    return port;
}

CBoardObj* CQSERDoc::AppendBoard(const std::string& boardName) {
    return Adopt(new CBoardObj(boardName));
}

CPortObj* CQSERDoc::AppendPort() {
    return Adopt(new CPortObj(m_pCurBoard->GetBoardName(), 0));
}

int CQSERDoc::NewBoard() {
    auto* board = new CBoardObj();
    // With every board name taken the name is empty, and the new board's key would be the
    // driver key itself.
    if (!IsSingleKeyName(board->GetBoardName())) {
        delete board;
        return 0;
    }
    Adopt(board);
    return 1;
}

int CQSERDoc::NewPort(int generate) {
    if (m_pCurBoard == nullptr) {
        return 0;
    }
    auto* port = new CPortObj(m_pCurBoard->GetBoardName(), generate);
    // A port that found no free name reserved no instance.
    if (generate != 0 && !IsSingleKeyName(port->GetPortName())) {
        delete port;
        return 0;
    }
    Adopt(port);
    return 1;
}

CBoardObj* CQSERDoc::FindBoard(ItemKey itemKey) const {
    auto found = std::find_if(m_boardList.begin(), m_boardList.end(),
                              [itemKey](const CBoardObj* b) { return b->GetItemKey() == itemKey; });
    return found == m_boardList.end() ? nullptr : *found;
}

CPortObj* CQSERDoc::FindPort(ItemKey itemKey) const {
    for (const CBoardObj* board : m_boardList) {
        for (CPortObj* port : board->m_PortList) {
            if (port->GetItemKey() == itemKey) {
                return port;
            }
        }
    }
    return nullptr;
}

int CQSERDoc::RemoveBoard(ItemKey itemKey) {
    if (m_boardList.empty()) {
        return 0;
    }
    CBoardObj* board = itemKey == 0 ? m_boardList.front() : FindBoard(itemKey);
    if (board == nullptr) {
        return 0;
    }
    m_pCurBoard = board;
    for (std::size_t count = board->m_PortList.size(); count > 0; --count) {
        if (RemovePort() == 0) {
            CMessageService::Error(kCannotRemovePort);
            return 0;
        }
        SubNumPorts(1);
    }
    std::erase(m_boardList, board);
    CDriverKeyStore::DeleteBoardKey(board->GetBoardName());
    // The tree's handler may move the current board while the item goes; the item to delete is
    // this board's.
    m_pCurBoard = board;
    m_selectionKind = kSelectionBoard;
    if (CTreeNodeManagerBase* manager = CAppContext::TreeNodeManager()) {
        manager->DeleteSelectedItem(board->GetItemKey());
    }
    DestroyBoard(board);
    return 1;
}

void CQSERDoc::DestroyBoard(CBoardObj* board) {
    if (m_pCurBoard == board) {
        m_pCurBoard = nullptr;
    }
    delete board;
}

int CQSERDoc::RemovePort(ItemKey itemKey) {
    if (m_pCurBoard == nullptr || m_pCurBoard->m_PortList.empty()) {
        return 0;
    }
    std::vector<CPortObj*>& ports = m_pCurBoard->m_PortList;
    auto found = itemKey == 0 ? ports.begin()
                              : std::find_if(ports.begin(), ports.end(), [itemKey](CPortObj* p) {
                                    return p->GetItemKey() == itemKey;
                                });
    if (found == ports.end()) {
        return 0;
    }
    CPortObj* port = *found;
    ports.erase(found);
    CDriverKeyStore::DeletePortKeys(m_pCurBoard->GetBoardName(), *port);
    // The tree deletes the current port's item: it must be this port's, not whichever port
    // happened to be selected.
    m_pCurPort = port;
    m_selectionKind = kSelectionPort;
    if (CTreeNodeManagerBase* manager = CAppContext::TreeNodeManager()) {
        manager->DeleteSelectedItem(port->GetItemKey());
    }
    delete port;
    m_pCurPort = nullptr;
    return 1;
}

// ---- commands -------------------------------------------------------------------------------

void CQSERDoc::OnAddBoard() {
    if (m_bReadOnly) {
        return;
    }
    if (LeadingInt(m_numBoards) >= kMaxBoards || NewBoard() == 0) {
        CMessageService::Error(kCannotAddBoard);
        return;
    }
    m_selectionKind = kSelectionBoard;
    m_bTreeSynced = 0;
    WriteBoardKey(*m_pCurBoard);
    if (CTreeNodeManagerBase* manager = CAppContext::TreeNodeManager()) {
        manager->InsertBoardItem(m_pCurBoard->GetBoardName(), m_pCurBoard->GetItemKey());
    }
    RevealAndSelect(m_pCurBoard->m_hTreeItem);
    m_bConfigChanged = 1;
}

int CQSERDoc::CurrentBoardPortCount() const {
    return static_cast<int>(m_pCurBoard->m_PortList.size());
}

int CQSERDoc::CurrentBoardPortsPerBoard() const {
    return CBoardType(m_pCurBoard->GetBoardType()).GetPortsPerBoard();
}

void CQSERDoc::OnAddPort() {
    if (m_bReadOnly) {
        return;
    }
    // A full board (or none) leaves everything as it was, selection included, even when the
    // command arrives while its enable state is stale.
    if (m_pCurBoard == nullptr || CurrentBoardPortCount() >= CurrentBoardPortsPerBoard()) {
        return;
    }
    m_bTreeSynced = 0;
    bool individual = CBoardType(m_pCurBoard->GetBoardType()).IsIndividuallyAddressed() != 0;
    // Without a new port the selection stays where it was: a port kind with no port to show
    // would leave the view without a record.
    if ((individual ? AddIndividualPort() : AddBlockPorts()) == 0) {
        return;
    }
    m_selectionKind = kSelectionPort;
    m_bConfigChanged = 1;
}

int CQSERDoc::AddIndividualPort() {
    if (NewPort(1) == 0) {
        CMessageService::Error(kCannotAddPort);
        return 0;
    }
    AddPortItem();
    return 1;
}

int CQSERDoc::AddBlockPorts() {
    int added = 0;
    bool missed = false;
    // Ports already on the board keep their places; only the missing ones are added, so a
    // partial set left in the registry is completed rather than doubled.
    for (int i = CurrentBoardPortCount(); i < CurrentBoardPortsPerBoard(); ++i) {
        if (NewPort(1) == 0) {
            missed = true;
            continue;
        }
        DeriveNewPort(*m_pCurBoard, *m_pCurPort, i);
        AddPortItem();
        ++added;
    }
    if (missed) {
        CMessageService::Error(kCannotAddPort);
    }
    return added;
}

void CQSERDoc::AddPortItem() {
    WritePortKey(m_pCurBoard->GetBoardName(), *m_pCurPort);
    if (CTreeNodeManagerBase* manager = CAppContext::TreeNodeManager()) {
        manager->InsertPortItem(m_pCurBoard->GetItemKey(), m_pCurPort->GetPortName(),
                                m_pCurPort->GetItemKey());
    }
    RevealAndSelect(m_pCurPort->m_hTreeItem);
}

void CQSERDoc::OnDelete() {
    if (m_bReadOnly) {
        return;
    }
    if ((m_selectionKind == kSelectionBoard || m_selectionKind == kSelectionPort) &&
        m_pCurBoard == nullptr) {
        return;
    }
    if (m_selectionKind == kSelectionBoard) {
        if (!CMessageService::Confirm(LoadString(IDS_CONFIRM_DELETE_BOARD))) {
            return;
        }
        DeleteBoardCommand();
    } else if (m_selectionKind == kSelectionPort) {
        bool individual = CBoardType(m_pCurBoard->GetBoardType()).IsIndividuallyAddressed() != 0;
        if (!CMessageService::Confirm(
                LoadString(individual ? IDS_CONFIRM_DELETE_PORT : IDS_CONFIRM_DELETE_ALL_PORTS))) {
            return;
        }
        if (individual) {
            DeletePortCommand();
        } else {
            RemoveAllPortsOfCurrentBoard();
        }
        SelectAfterPortDelete();
    }
    UpdateAllViews();
    m_bConfigChanged = 1;
    UpdateCommandStates();
}

void CQSERDoc::DeleteBoardCommand() {
    if (RemoveBoard(m_pCurBoard->GetItemKey()) == 0) {
        CMessageService::Error(kCannotRemoveBoard);
    } else {
        DecNumBoards();
    }
    if (!m_boardList.empty()) {
        m_pCurBoard = m_boardList.back();
        RevealAndSelect(m_pCurBoard->m_hTreeItem);
    } else {
        ShowRootWithoutRecords();
    }
}

void CQSERDoc::DeletePortCommand() {
    if (m_pCurPort == nullptr || RemovePort(m_pCurPort->GetItemKey()) == 0) {
        CMessageService::Error(kCannotRemovePort);
    } else {
        SubNumPorts(1);
    }
}

void CQSERDoc::RemoveAllPortsOfCurrentBoard() {
    for (std::size_t count = m_pCurBoard->m_PortList.size(); count > 0; --count) {
        if (RemovePort() == 0) {
            CMessageService::Error(kCannotRemovePort);
            return;
        }
        SubNumPorts(1);
    }
}

void CQSERDoc::SelectAfterPortDelete() {
    if (m_pCurBoard == nullptr) {
        return;
    }
    if (!m_pCurBoard->m_PortList.empty()) {
        m_selectionKind = kSelectionPort;
        m_pCurPort = m_pCurBoard->m_PortList.back();
        RevealAndSelect(m_pCurPort->m_hTreeItem);
    } else {
        m_selectionKind = kSelectionBoard;
        RevealAndSelect(m_pCurBoard->m_hTreeItem);
        m_pCurPort = nullptr;
    }
}

void CQSERDoc::OnFileNew() {
    if (m_bReadOnly) {
        return;
    }
    if (m_numBoards == "0") {
        return;
    }
    if (!CMessageService::Confirm(LoadString(IDS_CONFIRM_NEW))) {
        return;
    }
    if (m_boardList.empty()) {
        return;
    }
    for (std::size_t count = m_boardList.size(); count > 0; --count) {
        if (RemoveBoard() == 0) {
            CMessageService::Error(kCannotRemoveBoard);
            break;
        }
        DecNumBoards();
    }
    ShowRootWithoutRecords();
    UpdateAllViews();
}

void CQSERDoc::OnFileSave() {
    if (m_bReadOnly) {
        return;
    }
    if (m_bConfigChanged != 0) {
        SaveConfiguration();
    }
}

int CQSERDoc::SaveConfiguration() {
    // The counts written are those of the driver key at this moment, not counters kept since
    // the load, which another program's changes or a failed removal can have left behind.
    if (SDriverKeyCounts counts; counts.Count()) {
        SetNumBoards(counts.boards);
        SetNumPorts(counts.ports);
    }
    int registered = 1;
    if (LeadingInt(m_numPorts) >= 0) {
        registered = IsLinux()       ? RegisterLinuxPorts()
                     : IsWindows9x() ? Register95Ports()
                                     : RegisterNTSerialPorts();
    }
    // A registration that reported a failure has not saved the configuration: the change stays
    // pending so that the next Save or the close tries again.
    if (registered == 0) {
        return 0;
    }
    m_bConfigChanged = 0;
    CMessageService::Notice(IsLinux() ? "The configuration is saved." : kSaved);
    return 1;
}

void CQSERDoc::OnHelpTopics() {
    if (IHelpRequest* help = CPlatformServices::HelpRequest()) {
        help->WinHelp(0, HELP_CONTENTS);
    }
}

void CQSERDoc::UpdateCommandStates() {
    if (m_bReadOnly) {
        m_bCanAddBoard = 0;
        m_bCanAddPort = 0;
        m_bCanDelete = 0;
    } else if (m_selectionKind == kSelectionDriver) {
        m_bCanAddBoard = 1;
        m_bCanAddPort = 0;
        m_bCanDelete = 0;
    } else if (m_selectionKind == kSelectionBoard || m_selectionKind == kSelectionPort) {
        m_bCanAddBoard = 1;
        m_bCanAddPort =
            m_pCurBoard != nullptr && CurrentBoardPortCount() < CurrentBoardPortsPerBoard() ? 1 : 0;
        m_bCanDelete = 1;
    }
}

void CQSERDoc::OnUpdateAddBoard(ICmdUI& cmdUI) const {
    cmdUI.Enable(m_bCanAddBoard == 1);
}

void CQSERDoc::OnUpdateAddPort(ICmdUI& cmdUI) const {
    cmdUI.Enable(m_bCanAddPort == 1);
}

void CQSERDoc::OnUpdateDelete(ICmdUI& cmdUI) const {
    cmdUI.Enable(m_bCanDelete == 1);
}

void CQSERDoc::OnUpdateWritingCommand(ICmdUI& cmdUI) const {
    cmdUI.Enable(!m_bReadOnly);
}

// ---- tree -----------------------------------------------------------------------------------

void CQSERDoc::RevealAndSelect(HTREEITEM item) const {
    if (ITreeControl* tree = CAppContext::TreeControl(); tree != nullptr && item != nullptr) {
        tree->EnsureVisible(item);
        tree->SelectItem(item);
    }
}

void CQSERDoc::ShowRootWithoutRecords() {
    m_pCurBoard = nullptr;
    m_pCurPort = nullptr;
    // The root may be selected already, and selecting it again reports nothing: the selection
    // kind must not be left naming a board that is gone.
    m_selectionKind = kSelectionDriver;
    SelectRoot();
}

void CQSERDoc::SelectRoot() const {
    if (ITreeControl* tree = CAppContext::TreeControl()) {
        tree->SelectItem(tree->GetRootItem());
    }
}

void CQSERDoc::FillTree() {
    CTreeNodeManagerBase* manager = CAppContext::TreeNodeManager();
    for (CBoardObj* board : m_boardList) {
        m_pCurBoard = board;
        manager->InsertBoardItem(board->GetBoardName(), board->GetItemKey());
        for (CPortObj* port : board->m_PortList) {
            m_pCurPort = port;
            manager->InsertPortItem(board->GetItemKey(), port->GetPortName(), port->GetItemKey());
        }
    }
}

int CQSERDoc::PopulateTree() {
    m_bTreeSynced = 0;
    CTreeNodeManagerBase* manager = CAppContext::TreeNodeManager();
    if (manager == nullptr) {
        return 0;
    }
    manager->InsertDriverItem();
    FillTree();
    m_bTreeSynced = 1;
    SelectRoot();
    if (ITreeControl* tree = CAppContext::TreeControl()) {
        if (HTREEITEM first = tree->GetChildItem(tree->GetRootItem())) {
            tree->EnsureVisible(first);
        }
    }
    SelectRoot();
    return 1;
}

void CQSERDoc::RefillTree() {
    m_bTreeSynced = 0;
    if (CAppContext::TreeNodeManager() == nullptr) {
        return;
    }
    FillTree();
    m_bTreeSynced = 1;
}

void CQSERDoc::RefillBoardPorts(CBoardObj* board) {
    m_bTreeSynced = 0;
    CTreeNodeManagerBase* manager = CAppContext::TreeNodeManager();
    if (manager == nullptr || board == nullptr) {
        return;
    }
    for (CPortObj* port : board->m_PortList) {
        m_pCurPort = port;
        manager->InsertPortItem(board->GetItemKey(), port->GetPortName(), port->GetItemKey());
    }
    if (m_pCurBoard != nullptr) {
        RevealAndSelect(m_pCurBoard->m_hTreeItem);
    }
    m_bTreeSynced = 1;
}

// ---- registry procedures --------------------------------------------------------------------

int CQSERDoc::LoadConfiguration() {
    return CDriverKeyStore::LoadConfiguration(*this);
}

int CQSERDoc::SaveSystemValues() {
    return CDriverKeyStore::SaveSystemValues(m_systemName, m_numBoards, m_numPorts);
}

int CQSERDoc::ReadBoardKey(const std::string& boardKeyName, CBoardObj& board) {
    return CDriverKeyStore::ReadBoardKey(boardKeyName, board);
}

int CQSERDoc::WriteBoardKey(const CBoardObj& board) {
    return CDriverKeyStore::WriteBoardKey(board);
}

int CQSERDoc::ReadPortKey(const std::string& boardKeyName, const std::string& portKeyName,
                          CPortObj& port) {
    return CDriverKeyStore::ReadPortKey(boardKeyName, portKeyName, port);
}

int CQSERDoc::WritePortKey(const std::string& boardKeyName, const CPortObj& port) {
    return CDriverKeyStore::WritePortKey(boardKeyName, port);
}

int CQSERDoc::RegisterNTSerialPorts() {
    return CPortRegistration::RegisterNTSerialPorts({m_systemName, m_numBoards, m_numPorts},
                                                    !m_boardList.empty());
}

int CQSERDoc::Register95Ports() {
    return CPortRegistration::Register95Ports({m_systemName, m_numBoards, m_numPorts},
                                              !m_boardList.empty());
}

int CQSERDoc::RegisterLinuxPorts() {
    return CLinuxRegistration::RegisterLinuxPorts({m_systemName, m_numBoards, m_numPorts},
                                                  !m_boardList.empty());
}

int CQSERDoc::WriteNTSerialPort(const CBoardObj& board, const CPortObj& port) {
    return CPortRegistration::WriteNTSerialPort(board, port);
}

int CQSERDoc::Write95Port(const CBoardObj& board, const CPortObj& port) {
    return CPortRegistration::Write95Port(board, port);
}

int CQSERDoc::SetForcedConfigRange(const std::string& address, CConfigRecordBytes& record) {
    return CConfigRecord::SetForcedConfigRange(address, record);
}

int CQSERDoc::SetForcedConfigIRQ(const std::string& irq, CConfigRecordBytes& record) {
    return CConfigRecord::SetForcedConfigIRQ(irq, record);
}

int CQSERDoc::StopSerialService() {
    return CSerialService::StopSerialService(CPlatformServices::ServiceControlManager());
}

int CQSERDoc::StartSerialService() {
    return CSerialService::StartSerialService(CPlatformServices::ServiceControlManager());
}

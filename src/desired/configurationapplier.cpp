#include "configurationapplier.h"

#include "boardobj.h"
#include "boardtype.h"
#include "configurationreport.h"
#include "configurationsource.h"
#include "formpicker.h"
#include "headlesssession.h"
#include "hivetext.h"
#include "keypaths.h"
#include "portobj.h"
#include "qserdoc.h"

#include <algorithm>
#include <strings.h>

namespace {
using Json = nlohmann::ordered_json;

constexpr const char* kBoards = "Boards";
constexpr const char* kPorts = "Ports";
constexpr const char* kBoardName = "BoardName";
constexpr const char* kPortName = "PortName";
constexpr const char* kBoardType = "BoardType";
// Enough for each pick to enable the next along the longest chain of the board form.
constexpr int kPickPasses = 4;

bool SameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

const Json& ListOf(const Json& record, const char* name) {
    static const Json empty = Json::array();
    const auto list = record.find(name);
    return list == record.end() ? empty : *list;
}

std::string NameOf(const Json& record, const char* field) {
    return record.at(field).get<std::string>();
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&name](const std::string& other) { return SameName(other, name); });
}

void EraseName(std::vector<std::string>& names, const std::string& name) {
    std::erase_if(names, [&name](const std::string& other) { return SameName(other, name); });
}

// A pick's value as the forms hold it: Latin-1 text, or a check box's 0 or 1.
std::string PickText(const Json& value) {
    if (!value.is_string()) {
        return value.dump();
    }
    std::string latin1;
    return CHiveText::FromUtf8(value.get<std::string>(), latin1) ? latin1
                                                                 : value.get<std::string>();
}

std::string Item(const std::string& board, const std::string& port) {
    return port.empty() ? board : board + "/" + port;
}
} // namespace

CConfigurationApplier::CConfigurationApplier(CHeadlessSession& session, Json desired)
    : m_session(session), m_doc(session.Doc()), m_desired(std::move(desired)) {}

std::vector<SConfigurationDifference> CConfigurationApplier::Plan() const {
    // The forms may hold a value that they never wrote (a check box a model fixes): what counts
    // is what the registry holds.
    return CConfigurationDiff::Compare(CConfigurationSource::Loaded(), m_desired,
                                       EDiffScope::Configuration);
}

std::optional<std::string> CConfigurationApplier::Apply() {
    DeleteBoardsNotStated();
    ChangeModels();
    AddBoards();
    for (const Json& board : ListOf(m_desired, kBoards)) {
        if (FindBoard(NameOf(board, kBoardName)) != nullptr) {
            ApplyBoard(board);
        }
    }
    return Remaining();
}

CBoardObj* CConfigurationApplier::FindBoard(const std::string& name) const {
    const auto found = std::find_if(
        m_doc.m_boardList.begin(), m_doc.m_boardList.end(),
        [&name](const CBoardObj* board) { return SameName(board->GetBoardName(), name); });
    return found == m_doc.m_boardList.end() ? nullptr : *found;
}

std::vector<std::string> CConfigurationApplier::PortNames(const std::string& board) const {
    std::vector<std::string> names;
    if (const CBoardObj* found = FindBoard(board)) {
        for (const CPortObj* port : found->m_PortList) {
            names.push_back(port->GetPortName());
        }
    }
    return names;
}

void CConfigurationApplier::Delete(const std::string& item) {
    if (m_session.Select(item)) {
        m_doc.OnDelete();
    }
}

void CConfigurationApplier::DeleteBoardsNotStated() {
    std::vector<std::string> stated;
    for (const Json& board : ListOf(m_desired, kBoards)) {
        stated.push_back(NameOf(board, kBoardName));
    }
    std::vector<std::string> unwanted;
    for (const CBoardObj* board : m_doc.m_boardList) {
        if (!Contains(stated, board->GetBoardName())) {
            unwanted.push_back(board->GetBoardName());
        }
    }
    for (const std::string& name : unwanted) {
        Delete(name);
    }
}

// A model cannot change while the board has ports: they go first and come again with the
// new model's addresses and names.
void CConfigurationApplier::ChangeModels() {
    for (const Json& board : ListOf(m_desired, kBoards)) {
        const std::string name = NameOf(board, kBoardName);
        const CBoardObj* found = FindBoard(name);
        const auto type = board.find(kBoardType);
        if (found == nullptr || type == board.end() || !type->is_string() ||
            found->GetBoardType() == PickText(*type)) {
            continue;
        }
        // Each Delete removes one port, or all of them on a board whose ports come together.
        for (std::size_t left = found->m_PortList.size(); left > 0 && !PortNames(name).empty();
             --left) {
            Delete(Item(name, PortNames(name).front()));
        }
    }
}

void CConfigurationApplier::AddBoards() {
    std::vector<std::string> missing;
    for (const Json& board : ListOf(m_desired, kBoards)) {
        if (FindBoard(NameOf(board, kBoardName)) == nullptr) {
            missing.push_back(NameOf(board, kBoardName));
        }
    }
    // Add Board takes the lowest free name: the names below a wanted one are taken on the way
    // and deleted again once every wanted board is there.
    std::vector<std::string> passing;
    for (int tries = 0; !missing.empty() && tries < kMaxBoards; ++tries) {
        const std::size_t before = m_doc.m_boardList.size();
        m_doc.OnAddBoard();
        if (m_doc.m_boardList.size() == before) {
            break;
        }
        const std::string added = m_doc.m_pCurBoard->GetBoardName();
        if (Contains(missing, added)) {
            EraseName(missing, added);
        } else {
            passing.push_back(added);
        }
    }
    for (const std::string& name : passing) {
        Delete(name);
    }
}

void CConfigurationApplier::ApplyBoard(const Json& board) {
    const std::string name = NameOf(board, kBoardName);
    if (m_session.Select(name)) {
        PickValues(name, {}, board);
    }
    const Json& ports = ListOf(board, kPorts);
    DeletePortsNotStated(name, ports);
    AddPorts(name, ports);
    for (const Json& port : ports) {
        if (m_session.Select(Item(name, NameOf(port, kPortName)))) {
            PickValues(name, NameOf(port, kPortName), port);
        }
    }
}

void CConfigurationApplier::DeletePortsNotStated(const std::string& board, const Json& ports) {
    std::vector<std::string> stated;
    for (const Json& port : ports) {
        stated.push_back(NameOf(port, kPortName));
    }
    for (const std::string& name : PortNames(board)) {
        // A board whose ports come together has lost them all with the first.
        if (Contains(PortNames(board), name) && !Contains(stated, name)) {
            Delete(Item(board, name));
        }
    }
}

void CConfigurationApplier::AddPorts(const std::string& board, const Json& ports) {
    std::vector<std::string> missing;
    for (const Json& port : ports) {
        if (!Contains(PortNames(board), NameOf(port, kPortName))) {
            missing.push_back(NameOf(port, kPortName));
        }
    }
    std::vector<std::string> passing;
    for (int tries = 0; !missing.empty() && tries < kPortKeys.slots; ++tries) {
        const std::vector<std::string> before = PortNames(board);
        if (!m_session.Select(board) || m_doc.m_bCanAddPort == 0) {
            break;
        }
        m_doc.OnAddPort();
        const std::vector<std::string> after = PortNames(board);
        if (after.size() == before.size()) {
            break;
        }
        for (const std::string& name : after) {
            if (Contains(before, name)) {
                continue;
            }
            if (Contains(missing, name)) {
                EraseName(missing, name);
            } else {
                passing.push_back(name);
            }
        }
    }
    // On a board whose ports come together Delete would take the wanted ones along: such a port
    // stays, and the check at the end names it.
    const CBoardObj* found = FindBoard(board);
    if (found == nullptr || CBoardType(found->GetBoardType()).IsIndividuallyAddressed() == 0) {
        return;
    }
    for (const std::string& name : passing) {
        Delete(Item(board, name));
    }
}

Json CConfigurationApplier::Written(const std::string& board, const std::string& port) const {
    if (port.empty()) {
        CBoardObj record(board);
        m_doc.ReadBoardKey(board, record);
        return CConfigurationReport::BoardJson(record);
    }
    CPortObj record;
    m_doc.ReadPortKey(board, port, record);
    return CConfigurationReport::PortJson(record);
}

bool CConfigurationApplier::Holds(const std::string& board, const std::string& port,
                                  const std::string& name, const Json& value) const {
    if (Written(board, port).value(name, Json()) != value) {
        return false;
    }
    const CBoardObj* record = FindBoard(board);
    if (record == nullptr) {
        return true;
    }
    if (port.empty()) {
        return CConfigurationReport::BoardJson(*record).value(name, Json()) == value;
    }
    const auto found =
        std::find_if(record->m_PortList.begin(), record->m_PortList.end(),
                     [&port](const CPortObj* item) { return SameName(item->GetPortName(), port); });
    return found == record->m_PortList.end() ||
           CConfigurationReport::PortJson(**found).value(name, Json()) == value;
}

std::optional<std::string> CConfigurationApplier::PickWritten(CFormPicker& picker,
                                                              const std::string& board,
                                                              const std::string& port,
                                                              const std::string& name,
                                                              const Json& value) const {
    const std::string text = PickText(value);
    if (std::optional<std::string> refusal = picker.Pick(name, text)) {
        return refusal;
    }
    if (Written(board, port).value(name, Json()) == value) {
        return std::nullopt;
    }
    // The form showed the value already and so wrote nothing: a person picks another entry
    // and then this one again.
    for (const std::string& other : picker.Offered(name)) {
        if (other != text) {
            picker.Pick(name, other);
            return picker.Pick(name, text);
        }
    }
    return std::nullopt;
}

void CConfigurationApplier::PickValues(const std::string& board, const std::string& port,
                                       const Json& stated) {
    const std::string item = Item(board, port);
    CFormPicker picker(m_session);
    for (int pass = 0; pass < kPickPasses; ++pass) {
        bool progress = false;
        bool refused = false;
        for (const auto& [name, value] : stated.items()) {
            if (value.is_array() || name == kBoardName || name == kPortName ||
                CConfigurationDiff::IsMachineValue(name) || Holds(board, port, name, value)) {
                continue;
            }
            if (std::optional<std::string> refusal =
                    PickWritten(picker, board, port, name, value)) {
                m_refusals[item + " " + name] = *refusal;
                refused = true;
            } else {
                m_refusals.erase(item + " " + name);
                progress = true;
            }
        }
        if (!refused || !progress) {
            return;
        }
    }
}

std::optional<std::string> CConfigurationApplier::Remaining() const {
    const std::vector<SConfigurationDifference> left = Plan();
    if (left.empty()) {
        return std::nullopt;
    }
    std::string reason = "the configuration cannot be reached on this registry:";
    const std::vector<std::string> lines = CConfigurationDiff::Lines(left);
    for (std::size_t index = 0; index < left.size(); ++index) {
        const SConfigurationDifference& diff = left[index];
        reason += "\n  " + lines[index];
        const auto why = m_refusals.find(Item(diff.board, diff.port) + " " + diff.name);
        if (diff.kind == SConfigurationDifference::EKind::ValueChanged && why != m_refusals.end()) {
            reason += " (" + why->second + ")";
        } else if (diff.kind == SConfigurationDifference::EKind::BoardAdded ||
                   diff.kind == SConfigurationDifference::EKind::PortAdded) {
            reason += " (Add " + std::string(diff.port.empty() ? "Board" : "Port") +
                      " does not give this name here)";
        } else if (diff.kind != SConfigurationDifference::EKind::ValueChanged) {
            reason += " (Delete does not take it away alone)";
        }
    }
    return reason;
}

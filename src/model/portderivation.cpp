#include "portderivation.h"

#include "boardobj.h"
#include "boardtype.h"
#include "portobj.h"
#include "stringtable.h"
#include "textnumbers.h"
#include "valuelists.h"

#include <charconv>
#include <strings.h>

namespace {

bool IsNone(const std::string& text) {
    return strcasecmp(text.c_str(), "NONE") == 0;
}

// At most three hex digits, so the value always fits; no sign is accepted.
long long LeadingHex(const std::string& digits) {
    unsigned value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return value;
}

std::string HexText(long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    return "0x" + std::string(buffer, result.ptr);
}

} // namespace

std::string MakePortAddress(const std::string& baseAddress, int index) {
    if (IsNone(baseAddress)) {
        const auto& table = StandardModeTable();
        return index >= 0 && static_cast<std::size_t>(index) < table.size()
                   ? table[static_cast<std::size_t>(index)].address
                   : "NONE";
    }
    return HexText(LeadingHex(AddressDigits(baseAddress)) + 8LL * index);
}

std::string MakePortCOMPort(const std::string& baseCOMPort, int index) {
    if (IsNone(baseCOMPort)) {
        return "COM" + std::to_string(static_cast<long long>(index) + 1);
    }
    const std::string number = baseCOMPort.size() > 3 ? baseCOMPort.substr(3) : std::string();
    return "COM" + std::to_string(static_cast<long long>(LeadingInt(number)) + index);
}

namespace {

using SetValue = int (CPortObj::*)(std::string);

struct SPortValue {
    unsigned valueNameId;
    SetValue set;
};

constexpr SPortValue kAddress = {IDS_PORT_ADDRESS, &CPortObj::SetPortAddress};
constexpr SPortValue kCOMPort = {IDS_PORT_COM_PORT, &CPortObj::SetPortCOMPort};
constexpr SPortValue kIRQ = {IDS_PORT_IRQ, &CPortObj::SetPortIRQ};

// Sets the values of one port and notes each one set.
class CPortUpdate {
public:
    CPortUpdate(CPortObj& port, std::size_t index, std::vector<SPortChange>& changes)
        : m_port(port), m_index(index), m_changes(changes) {}

    int Index() const { return static_cast<int>(m_index); }
    const SStandardModePort* StandardPort() const {
        const auto& table = StandardModeTable();
        return m_index < table.size() ? &table[m_index] : nullptr;
    }

    void Set(const SPortValue& value, std::string text) {
        (m_port.*value.set)(std::move(text));
        m_changes.push_back({m_index, value.valueNameId});
    }

private:
    CPortObj& m_port;
    std::size_t m_index;
    std::vector<SPortChange>& m_changes;
};

bool IsBlockAddressed(const CBoardObj& board) {
    return CBoardType(board.GetBoardType()).IsIndividuallyAddressed() == 0;
}

void CarryOverToPort(const CBoardObj& board, EBoardChange change, CPortUpdate& port) {
    const SStandardModePort* standard = port.StandardPort();
    switch (change) {
    case EBoardChange::BaseAddress:
        if (IsBlockAddressed(board)) {
            port.Set(kAddress, MakePortAddress(board.GetBaseAddress(), port.Index()));
        }
        return;
    case EBoardChange::BaseCOMPort:
        port.Set(kCOMPort, MakePortCOMPort(board.GetBaseCOMPort(), port.Index()));
        return;
    case EBoardChange::ShareIRQ:
        if (board.GetShareIRQEnabled() != 0) {
            port.Set(kIRQ, board.GetShareIRQ());
        }
        return;
    case EBoardChange::SharingOn:
        port.Set(kIRQ, board.GetShareIRQ());
        return;
    case EBoardChange::SharingOff:
        if (board.GetStandardModeEnabled() != 0 && standard != nullptr) {
            port.Set(kIRQ, standard->irq);
        }
        return;
    case EBoardChange::StandardModeOn:
    case EBoardChange::StandardModeOff:
        if (standard != nullptr) {
            const bool on = change == EBoardChange::StandardModeOn;
            port.Set(kAddress, on ? standard->address : standard->addressAfter);
            port.Set(kCOMPort, on ? standard->comPort : standard->comPortAfter);
        }
        return;
    }
}

} // namespace

std::vector<SPortChange> CarryOverToPorts(CBoardObj& board, EBoardChange change) {
    std::vector<SPortChange> changes;
    for (std::size_t i = 0; i < board.m_PortList.size(); ++i) {
        CPortUpdate port(*board.m_PortList[i], i, changes);
        CarryOverToPort(board, change, port);
    }
    return changes;
}

void DeriveNewPort(const CBoardObj& board, CPortObj& port, int index) {
    std::vector<SPortChange> changes;
    CPortUpdate update(port, static_cast<std::size_t>(index), changes);
    for (EBoardChange change :
         {EBoardChange::BaseAddress, EBoardChange::BaseCOMPort, EBoardChange::ShareIRQ}) {
        CarryOverToPort(board, change, update);
    }
    port.SetPortIndex(MakePortIndex(index));
}

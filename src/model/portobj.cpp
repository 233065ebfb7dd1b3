#include "portobj.h"

#include "keypaths.h"
#include "platformfamily.h"
#include "registry.h"
#include "slotscan.h"
#include "stringtable.h"

#include <utility>

namespace {

constexpr int kPortSlots = 16;
constexpr std::size_t kPortNumberOffset = 4; // right after "Port"
constexpr int kInstanceSlots = 999;

// Where a platform keeps its instance keys and how it names them.
struct SInstanceScheme {
    const std::string& parentPath;
    const char* keyPrefix;    // what a key's name begins with to count
    std::size_t numberOffset; // where its number starts
    const char* namePrefix;   // what a new name is built from
    int digits;
    int firstSlot;
    const char* noParentName;  // the parent key cannot be opened
    const char* exhaustedName; // no slot free, or the reservation failed
};

std::string ReserveInstance(const SInstanceScheme& scheme) {
    CRegistry parent;
    if (parent.OpenKey(scheme.parentPath, "", KEY_ALL_ACCESS, 0) != ERROR_SUCCESS) {
        return scheme.noParentName;
    }
    const auto used = UsedSlots(parent, scheme.keyPrefix, scheme.numberOffset, kInstanceSlots);
    parent.CloseKey();
    const int slot = LowestFreeSlot(used, scheme.firstSlot);
    if (slot < 0) {
        return scheme.exhaustedName;
    }
    const std::string candidate = NumberedName(scheme.namePrefix, slot, scheme.digits);
    CRegistry reservation;
    if (reservation.OpenKey(scheme.parentPath + "\\" + candidate, "", KEY_ALL_ACCESS, 0) !=
        ERROR_SUCCESS) {
        return scheme.exhaustedName;
    }
    reservation.CloseKey();
    return candidate;
}

} // namespace

CPortObj::CPortObj() = default;

CPortObj::CPortObj(std::string boardKeyName, int generate)
    : m_portIRQ("7"), m_portAddress("0x200"), m_portCOMPort("COM3"), m_portIndex("1") {
    if (!boardKeyName.empty() && generate != 0) {
        m_portName = MakeDefaultPortName(std::move(boardKeyName));
        m_portSerialPort = MakeSerialInstanceName();
    }
}

const char* CPortObj::GetRuntimeClassName() const {
    return "CPortObj";
}

std::string CPortObj::MakeDefaultPortName(std::string boardKeyName) {
    CRegistry registry;
    if (registry.OpenKey(DriverKeyPath() + "\\" + boardKeyName, "", KEY_ALL_ACCESS, 1) !=
        ERROR_SUCCESS) {
        return "Port000";
    }
    const auto used = UsedSlots(registry, "Po", kPortNumberOffset, kPortSlots);
    registry.CloseKey();
    const int slot = LowestFreeSlot(used, 0);
    return slot < 0 ? "" : NumberedName("Port", slot, 3);
}

std::string CPortObj::MakeSerialInstanceName() {
    static const SInstanceScheme nt = {
        SerialParametersKeyPath(), "Se", 6, "Serial", 3, 2, "Serial000", "Serial1000"};
    // The Windows 95/98 fallback for a missing Class\Ports matches that branch's other failures.
    static const SInstanceScheme win9x = {ClassPortsKeyPath(), "0", 1, "", 4, 0, "1000", "1000"};
    return ReserveInstance(IsWindows9x() ? win9x : nt);
}

int CPortObj::SetItemKey(ItemKey key) {
    m_itemKey = key;
    return 1;
}

ItemKey CPortObj::GetItemKey() const {
    return m_itemKey;
}

int CPortObj::SetPortName(std::string name) {
    m_portName = std::move(name);
    return 1;
}

std::string CPortObj::GetPortName() const {
    return m_portName;
}

int CPortObj::SetPortIRQ(std::string irq) {
    m_portIRQ = std::move(irq);
    return 1;
}

std::string CPortObj::GetPortIRQ() const {
    return m_portIRQ;
}

int CPortObj::SetPortAddress(std::string address) {
    m_portAddress = std::move(address);
    return 1;
}

std::string CPortObj::GetPortAddress() const {
    return m_portAddress;
}

int CPortObj::SetPortCOMPort(std::string comPort) {
    m_portCOMPort = std::move(comPort);
    return 1;
}

std::string CPortObj::GetPortCOMPort() const {
    return m_portCOMPort;
}

int CPortObj::SetPortIndex(std::string index) {
    m_portIndex = std::move(index);
    return 1;
}

std::string CPortObj::GetPortIndex() const {
    return m_portIndex;
}

int CPortObj::SetPortSerialPort(std::string instance) {
    m_portSerialPort = std::move(instance);
    return 1;
}

std::string CPortObj::GetPortSerialPort() const {
    return m_portSerialPort;
}

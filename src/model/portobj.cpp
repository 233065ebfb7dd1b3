#include "portobj.h"

#include "keypaths.h"
#include "registry.h"
#include "slotscan.h"

#include <utility>

namespace {

std::string ReserveInstance(const SInstanceNaming& naming) {
    CRegistry parent;
    if (parent.OpenKey(naming.parentPath, "", KEY_ALL_ACCESS, 0) != ERROR_SUCCESS) {
        return naming.noParentName;
    }
    const auto used = UsedSlots(parent, naming.keys);
    parent.CloseKey();
    const int slot = LowestFreeSlot(used, naming.firstSlot);
    if (slot < 0) {
        return naming.exhaustedName;
    }
    const std::string candidate = naming.keys.Name(slot);
    CRegistry reservation;
    if (reservation.OpenKey(InstanceKeyPath(candidate), "", KEY_ALL_ACCESS, 0) != ERROR_SUCCESS) {
        return naming.exhaustedName;
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
    if (registry.OpenKey(BoardKeyPath(boardKeyName), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        return kPortKeys.Name(0);
    }
    const auto used = UsedSlots(registry, kPortKeys);
    registry.CloseKey();
    const int slot = LowestFreeSlot(used, 0);
    return slot < 0 ? "" : kPortKeys.Name(slot);
}

std::string CPortObj::MakeSerialInstanceName() {
    return ReserveInstance(InstanceNaming());
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

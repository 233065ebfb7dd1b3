#include "portobj.h"

#include "keypaths.h"
#include "linuxlines.h"
#include "platformfamily.h"
#include "registry.h"
#include "slotscan.h"

#include <utility>
#include <vector>

namespace {

// Names compare without case, so a free slot's name may still be taken by a key the scan's
// case-sensitive prefix passes over ("serial002"); that key is another's and is not reserved.
// -1 when no slot is free or a candidate cannot be looked at.
int LowestUntakenSlot(std::vector<bool>& used, const SInstanceNaming& naming) {
    for (int slot = LowestFreeSlot(used, naming.firstSlot); slot >= 0;
         slot = LowestFreeSlot(used, slot)) {
        CRegistry existing;
        const Win32Status status =
            existing.OpenKey(InstanceKeyPath(naming.keys.Name(slot)), "", KEY_ALL_ACCESS, 1);
        if (status == ERROR_FILE_NOT_FOUND) {
            return slot;
        }
        if (status != ERROR_SUCCESS) {
            return -1;
        }
        used[static_cast<std::size_t>(slot)] = true;
    }
    return -1;
}

std::string ReserveInstance(const SInstanceNaming& naming) {
    CRegistry parent;
    if (parent.OpenKey(naming.parentPath, "", KEY_ALL_ACCESS, 0) != ERROR_SUCCESS) {
        return naming.noParentName;
    }
    auto used = UsedSlots(parent, naming.keys);
    parent.CloseKey();
    const int slot = LowestUntakenSlot(used, naming);
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
        // A port that finds no free name is never added, so it reserves no instance.
        if (!m_portName.empty()) {
            m_portSerialPort = MakeSerialInstanceName();
        }
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
    // A Linux line has no key to reserve: the port's own key, written before the next port is
    // made, is what keeps its line from being handed out twice.
    if (IsLinux()) {
        return CLinuxLines::MakeLineName();
    }
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

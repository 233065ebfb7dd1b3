#include "boardobj.h"

#include "keypaths.h"
#include "messageservice.h"
#include "registry.h"
#include "registrymessages.h"
#include "slotscan.h"
#include "stringtable.h"

#include <utility>

CBoardObj::CBoardObj() : m_boardName(MakeDefaultBoardName()) {}

CBoardObj::CBoardObj(std::string boardName) : m_boardName(std::move(boardName)) {}

const char* CBoardObj::GetRuntimeClassName() const {
    return "CBoardObj";
}

std::string CBoardObj::MakeDefaultBoardName() {
    CRegistry registry;
    const Win32Status status = registry.OpenKey(DriverKeyPath(), "", KEY_ALL_ACCESS, 0);
    if (status != ERROR_SUCCESS) {
        if (status != ERROR_FILE_NOT_FOUND) {
            CMessageService::Error(kOpenRegistryFailed);
        }
        return "";
    }
    const auto used = UsedSlots(registry, kBoardKeys);
    registry.CloseKey();
    const int slot = LowestFreeSlot(used, 0);
    return slot < 0 ? "" : kBoardKeys.Name(slot);
}

int CBoardObj::SetItemKey(ItemKey key) {
    m_itemKey = key;
    return 1;
}

ItemKey CBoardObj::GetItemKey() const {
    return m_itemKey;
}

int CBoardObj::SetBoardName(std::string name) {
    m_boardName = std::move(name);
    return 1;
}

std::string CBoardObj::GetBoardName() const {
    return m_boardName;
}

int CBoardObj::SetBoardType(std::string type) {
    m_boardType = std::move(type);
    return 1;
}

std::string CBoardObj::GetBoardType() const {
    return m_boardType;
}

int CBoardObj::SetShareIRQEnabled(int enabled) {
    m_bShareIRQEnabled = enabled;
    return 1;
}

int CBoardObj::GetShareIRQEnabled() const {
    return m_bShareIRQEnabled;
}

int CBoardObj::SetShareIRQ(std::string irq) {
    m_shareIRQ = std::move(irq);
    return 1;
}

std::string CBoardObj::GetShareIRQ() const {
    return m_shareIRQ;
}

int CBoardObj::SetBaseAddress(std::string address) {
    m_baseAddress = std::move(address);
    return 1;
}

std::string CBoardObj::GetBaseAddress() const {
    return m_baseAddress;
}

int CBoardObj::SetVectorAddress(std::string address) {
    m_vectorAddress = std::move(address);
    return 1;
}

std::string CBoardObj::GetVectorAddress() const {
    return m_vectorAddress;
}

int CBoardObj::SetBaseCOMPort(std::string comPort) {
    m_baseCOMPort = std::move(comPort);
    return 1;
}

std::string CBoardObj::GetBaseCOMPort() const {
    return m_baseCOMPort;
}

int CBoardObj::SetStandardModeEnabled(int enabled) {
    m_bStandardModeEnabled = enabled;
    return 1;
}

int CBoardObj::GetStandardModeEnabled() const {
    return m_bStandardModeEnabled;
}

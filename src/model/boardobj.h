#pragma once

#include "object.h"
#include "recordtypes.h"

#include <string>
#include <vector>

class CPortObj;

// One adapter board as the driver key describes it. Every setting is text as stored, except the
// two flags (0 or 1). Accessors never validate; setters return 1.
//
// m_PortList holds the board's ports in the order they were added. It does not own them: the
// document deletes each port itself, and the destructor frees only the list.
class CBoardObj : public CObject {
public:
    // Names the board MakeDefaultBoardName() (this reads the registry); other fields get the
    // defaults of a new RX-401 board.
    CBoardObj();
    // A board read from the key of that name: looking for a free name would be wasted.
    explicit CBoardObj(std::string boardName);

    const char* GetRuntimeClassName() const override;

    // The lowest free key name Board000 to Board009 under the driver key, which is created when
    // missing. Empty when all ten are taken, or when the driver key cannot be opened ("Open
    // registry failed" is shown then, unless the key was merely not found). Names held only by
    // records not yet written to the registry do not count.
    std::string MakeDefaultBoardName();

    int SetItemKey(ItemKey key);
    ItemKey GetItemKey() const;
    int SetBoardName(std::string name);
    std::string GetBoardName() const;
    int SetBoardType(std::string type);
    std::string GetBoardType() const;
    int SetShareIRQEnabled(int enabled);
    int GetShareIRQEnabled() const;
    int SetShareIRQ(std::string irq);
    std::string GetShareIRQ() const;
    int SetBaseAddress(std::string address);
    std::string GetBaseAddress() const;
    int SetVectorAddress(std::string address);
    std::string GetVectorAddress() const;
    int SetBaseCOMPort(std::string comPort);
    std::string GetBaseCOMPort() const;
    int SetStandardModeEnabled(int enabled);
    int GetStandardModeEnabled() const;

private:
    ItemKey m_itemKey = 0;
    std::string m_boardName;
    std::string m_boardType = "RX-401";
    int m_bShareIRQEnabled = 0;
    std::string m_shareIRQ = "NONE";
    std::string m_baseAddress = "0x200";
    std::string m_vectorAddress = "NONE";
    std::string m_baseCOMPort = "COM3";
    int m_bStandardModeEnabled = 0;

public:
    HTREEITEM m_hTreeItem = nullptr;
    std::vector<CPortObj*> m_PortList;
};

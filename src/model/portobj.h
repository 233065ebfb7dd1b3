#pragma once

#include "object.h"
#include "recordtypes.h"

#include <string>

// One UART port of a board: every setting is text as the driver key stores it. Accessors never
// validate; setters return 1.
class CPortObj : public CObject {
public:
    // All six texts empty: a record about to be filled by its reader.
    CPortObj();
    // With a board key name and generate != 0, picks the first free port key name of that board
    // and, when there is one, reserves an operating-system instance (both read, and the second
    // writes, the registry); otherwise name and instance stay empty and no key is written. In every
    // case IRQ "7", address "0x200", COM port "COM3" and index "1".
    CPortObj(std::string boardKeyName, int generate);

    const char* GetRuntimeClassName() const override;

    // The lowest free key name Port000 to Port015 under the board's key; "Port000" when that key
    // cannot be opened (it is not created), empty when all sixteen are taken.
    std::string MakeDefaultPortName(std::string boardKeyName);
    // Picks the lowest free instance in the operating system's serial port registry whose key
    // does not exist in any case, and reserves it by creating its key: Serial002 to Serial998 on
    // Windows NT, 0000 to 0998 on Windows 95/98. "Serial1000" / "1000" when none is free or the
    // reservation fails; "Serial000" / "1000" when the parent key cannot be opened. Never shows a
    // message.
    std::string MakeSerialInstanceName();

    int SetItemKey(ItemKey key);
    ItemKey GetItemKey() const;
    int SetPortName(std::string name);
    std::string GetPortName() const;
    int SetPortIRQ(std::string irq);
    std::string GetPortIRQ() const;
    int SetPortAddress(std::string address);
    std::string GetPortAddress() const;
    int SetPortCOMPort(std::string comPort);
    std::string GetPortCOMPort() const;
    int SetPortIndex(std::string index);
    std::string GetPortIndex() const;
    int SetPortSerialPort(std::string instance);
    std::string GetPortSerialPort() const;

private:
    ItemKey m_itemKey = 0;
    std::string m_portName;
    std::string m_portIRQ;
    std::string m_portAddress;
    std::string m_portCOMPort;
    std::string m_portIndex;
    std::string m_portSerialPort;

public:
    HTREEITEM m_hTreeItem = nullptr;
};

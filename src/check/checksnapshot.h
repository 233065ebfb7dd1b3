#pragma once

#include "hive.h"
#include "machineports.h"

#include <string>
#include <vector>

// What the resource check looks at, as plain data: the configuration as the registration pass
// reads it back from the driver key (texts as stored, defaults in place of missing values),
// and the operating system's own port entries that no port of ours names.

struct SCheckPort {
    std::string keyName;
    std::string comPort;
    std::string irq;
    std::string address;
    std::string serialPort;
};

struct SCheckBoard {
    std::string keyName;
    std::string boardType;
    std::string baseAddress;
    std::string baseCOMPort;
    std::string shareIRQ;
    std::string vectorAddress;
    int shareIRQEnabled = 0;
    std::vector<SCheckPort> ports;
};

// A key of Serial\Parameters (Windows NT) or Enum\Root\Ports (Windows 95/98) with its values
// as stored.
struct SForeignEntry {
    std::string keyName;
    std::string keyPath;
    std::vector<SHiveValue> values;
};

struct SCheckSnapshot {
    bool windows9x = false;
    std::vector<SCheckBoard> boards;
    std::vector<SForeignEntry> foreign;
    // The serial ports a Windows 2000 or later installation enumerates under Enum that are not
    // the machine's records of ports of ours.
    std::vector<SMachinePort> devices;
};

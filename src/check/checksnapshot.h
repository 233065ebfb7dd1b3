#pragma once

#include "hive.h"
#include "iorange.h"
#include "machineports.h"

#include <optional>
#include <set>
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

// Something of a Linux machine that holds resources and is not a port of ours: a serial line
// it already has, an I/O range or an interrupt another driver holds. label names it in a
// sentence ("the machine's ttyS0"), source is the file it was read from.
struct SMachineEntry {
    std::string label;
    std::string source;
    std::optional<SIoRange> range;
    std::optional<unsigned> irq;
};

// What the Linux family reads of the machine under its root.
struct SLinuxFacts {
    std::vector<SMachineEntry> entries;
    // The lines the machine already has, by number, with the address they have.
    std::vector<std::pair<int, unsigned>> lines;
    // The lines that lines of /etc/serial.conf outside QSER's block set up.
    std::set<int> confLines;
    // The lines the running kernel registered; none when it cannot be told.
    std::optional<int> registeredLines;
    // The active lockdown mode; empty when none.
    std::string lockdown;
};

struct SCheckSnapshot {
    bool windows9x = false;
    bool linuxFamily = false;
    std::vector<SCheckBoard> boards;
    std::vector<SForeignEntry> foreign;
    // The serial ports a Windows 2000 or later installation enumerates under Enum that are not
    // the machine's records of ports of ours.
    std::vector<SMachinePort> devices;
    SLinuxFacts machine;
};

#pragma once

#include "hive.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

// A serial port the installation enumerates itself (Windows 2000 and later): a device instance
// under Enum, of any bus (ACPI, PCI, USB, Root, ...), whose Device Parameters hold a PortName
// that is a COM name.
struct SMachinePort {
    // Bus, device and instance as their keys spell them: "ACPI\PNP0501\1".
    std::string device;
    std::string keyPath;
    std::string comName;
    // LogConf\AllocConfig where present, else LogConf\BootConfig, as stored; none without either.
    std::optional<SHiveValue> resources;

    // "COM1 (ACPI\PNP0501\1)".
    std::string Label() const;
};

// Names compared as the registry compares them, without regard to ASCII case.
struct SCaselessLess {
    bool operator()(const std::string& a, const std::string& b) const;
};
using CCaselessNames = std::set<std::string, SCaselessLess>;

class CMachinePorts {
public:
    // Every such device of the current hive, in enumeration order. Only reads; empty when there is
    // no Enum key or no device has a COM name (Windows NT 4.0 keeps its ports under
    // Serial\Parameters only). A key that cannot be read is left out.
    static std::vector<SMachinePort> Read();

    // Whether the device is the machine's own record of a port of ours: the serial service reports
    // each legacy port it takes up from Serial\Parameters as a root-enumerated device and moves its
    // COM name there. ourNames: the COM names our ports have or were registered with.
    static bool IsOurs(const SMachinePort& port, const CCaselessNames& ourNames);
};

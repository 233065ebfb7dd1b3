#include "machineports.h"

#include "comnamedatabase.h"
#include "keypaths.h"
#include "registryvalues.h"

#include <strings.h>

namespace {
constexpr const char* kRootBus = "Root";

std::vector<SHiveSubKey> Named(CHive& hive, HiveKeyId key) {
    std::vector<SHiveSubKey> subKeys;
    hive.SubKeys(key, subKeys);
    std::erase_if(subKeys, [](const SHiveSubKey& subKey) {
        return !subKey.bText || !IsSingleKeyName(subKey.name);
    });
    return subKeys;
}

std::optional<SHiveValue> Value(CHive& hive, const std::string& keyPath, const std::string& name) {
    HiveKeyId key = 0;
    SHiveValue value;
    if (hive.FindKey(keyPath, key) != ERROR_SUCCESS ||
        hive.ReadValue(key, name, value) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

// The instance at keyPath when its Device Parameters name a COM port.
std::optional<SMachinePort> PortAt(CHive& hive, const std::string& device,
                                   const std::string& keyPath) {
    const std::optional<SHiveValue> name = Value(hive, keyPath + "\\Device Parameters", "PortName");
    const std::optional<std::string> text = name ? TextOf(*name) : std::nullopt;
    if (!text || !CComNameDatabase::ComNumber(*text)) {
        return std::nullopt;
    }
    SMachinePort port{device, keyPath, *text, Value(hive, keyPath + "\\LogConf", "AllocConfig")};
    if (!port.resources) {
        port.resources = Value(hive, keyPath + "\\LogConf", "BootConfig");
    }
    return port;
}
} // namespace

std::string SMachinePort::Label() const {
    return comName + " (" + device + ")";
}

bool SCaselessLess::operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
}

std::vector<SMachinePort> CMachinePorts::Read() {
    std::vector<SMachinePort> ports;
    CHive* hive = CHive::Current();
    HiveKeyId enumKey = 0;
    if (hive == nullptr || hive->FindKey(DeviceEnumKeyPath(), enumKey) != ERROR_SUCCESS) {
        return ports;
    }
    for (const SHiveSubKey& bus : Named(*hive, enumKey)) {
        for (const SHiveSubKey& device : Named(*hive, bus.id)) {
            for (const SHiveSubKey& instance : Named(*hive, device.id)) {
                const std::string name = bus.name + "\\" + device.name + "\\" + instance.name;
                if (auto port = PortAt(*hive, name, DeviceEnumKeyPath() + "\\" + name)) {
                    ports.push_back(std::move(*port));
                }
            }
        }
    }
    return ports;
}

bool CMachinePorts::IsOurs(const SMachinePort& port, const CCaselessNames& ourNames) {
    const std::string bus = port.device.substr(0, port.device.find('\\'));
    return strcasecmp(bus.c_str(), kRootBus) == 0 && ourNames.count(port.comName) != 0;
}

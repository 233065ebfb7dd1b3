#include "keypaths.h"

#include "linuxlines.h"
#include "platformfamily.h"
#include "stringtable.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {
std::string Below(const std::string& parent, const std::string& name) {
    return parent + "\\" + name;
}
} // namespace

const std::string& ServicesKeyPath() {
    static const std::string path = "SYSTEM\\CurrentControlSet\\Services\\";
    return path;
}

const std::string& SerialServiceKeyPath() {
    static const std::string path = ServicesKeyPath() + "Serial";
    return path;
}

const std::string& SerialParametersKeyPath() {
    static const std::string path = SerialServiceKeyPath() + "\\Parameters";
    return path;
}

const std::string& ClassPortsKeyPath() {
    static const std::string path = ServicesKeyPath() + "Class\\Ports";
    return path;
}

const std::string& EnumRootPortsKeyPath() {
    static const std::string path = "Enum\\Root\\Ports";
    return path;
}

const std::string& DeviceEnumKeyPath() {
    static const std::string path = "SYSTEM\\CurrentControlSet\\Enum";
    return path;
}

const std::string& ComNameArbiterKeyPath() {
    static const std::string path = "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter";
    return path;
}

bool SKeyNaming::Counts(const std::string& keyName) const {
    return keyName.starts_with(scanPrefix);
}

std::string SKeyNaming::Name(int slot) const {
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, slot);
    return namePrefix + std::string(number);
}

bool SKeyNaming::IsName(const std::string& keyName) const {
    const std::string_view prefix = namePrefix;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    return keyName.size() == prefix.size() + static_cast<std::size_t>(digits) &&
           keyName.starts_with(prefix) &&
           std::all_of(keyName.begin() + static_cast<std::ptrdiff_t>(prefix.size()), keyName.end(),
                       isDigit);
}

std::string BoardKeyPath(const std::string& boardKeyName) {
    return Below(DriverKeyPath(), boardKeyName);
}

std::string PortKeyPath(const std::string& boardKeyName, const std::string& portKeyName) {
    return Below(BoardKeyPath(boardKeyName), portKeyName);
}

bool IsSingleKeyName(const std::string& name) {
    return !name.empty() && name.size() <= kMaxKeyNameLength &&
           name.find_first_of(std::string_view("\\\0", 2)) == std::string::npos;
}

const SInstanceNaming& InstanceNaming() {
    static const SInstanceNaming nt = {
        SerialParametersKeyPath(), {"Se", "Serial", 6, 3, 999}, 2, "Serial000", "Serial1000"};
    // The Windows 95/98 fallback for a missing Class\Ports matches that branch's other failures.
    static const SInstanceNaming win9x = {
        ClassPortsKeyPath(), {"0", "", 1, 4, 999}, 0, "1000", "1000"};
    return IsWindows9x() ? win9x : nt;
}

bool IsInstanceName(const std::string& instance) {
    if (IsLinux()) {
        return CLinuxLines::IsBoardLine(instance);
    }
    const SInstanceNaming& naming = InstanceNaming();
    if (!naming.keys.IsName(instance)) {
        return false;
    }
    const int slot = std::stoi(instance.substr(std::string_view(naming.keys.namePrefix).size()));
    return slot >= naming.firstSlot && slot < naming.keys.slots;
}

std::string InstanceKeyPath(const std::string& instance) {
    return Below(InstanceNaming().parentPath, instance);
}

std::string SerialInstanceKeyPath(const std::string& instance) {
    return Below(SerialParametersKeyPath(), instance);
}

std::string ClassInstanceKeyPath(const std::string& instance) {
    return Below(ClassPortsKeyPath(), instance);
}

std::string DeviceInstanceKeyPath(const std::string& instance) {
    return Below(EnumRootPortsKeyPath(), instance);
}

std::string LogConfigKeyPath(const std::string& instance) {
    return Below(DeviceInstanceKeyPath(instance), "LogConfig");
}

#pragma once

#include <string>

// Registry paths under HKEY_LOCAL_MACHINE that more than one layer builds on. The driver key
// itself is DriverKeyPath() (stringtable.h), since its name is a string resource.

// "SYSTEM\CurrentControlSet\Services\" with its trailing separator.
const std::string& ServicesKeyPath();
// The Windows NT serial service key and the parent of its per-port instance keys.
const std::string& SerialServiceKeyPath();
const std::string& SerialParametersKeyPath();
// The Windows 95/98 parent of the per-port class keys.
const std::string& ClassPortsKeyPath();
// The Windows 95/98 parent of the per-port device keys.
const std::string& EnumRootPortsKeyPath();

#pragma once

#include <cstddef>
#include <string>

// Registry paths under HKEY_LOCAL_MACHINE and the names of the keys the system makes, for every
// layer that builds on them. The driver key itself is DriverKeyPath() (stringtable.h), since its
// name is a string resource.

// "SYSTEM\CurrentControlSet\Services\" with its trailing separator.
const std::string& ServicesKeyPath();
// The Windows NT serial service key and the parent of its per-port instance keys.
const std::string& SerialServiceKeyPath();
const std::string& SerialParametersKeyPath();
// The Windows 95/98 parent of the per-port class keys.
const std::string& ClassPortsKeyPath();
// The Windows 95/98 parent of the per-port device keys.
const std::string& EnumRootPortsKeyPath();
// Where Windows 2000 and later keep the devices they enumerate (bus\device\instance) and the
// key of the COM name database (its value ComDB).
const std::string& DeviceEnumKeyPath();
const std::string& ComNameArbiterKeyPath();

// How a kind of key is named: a sub-key counts as one when its name begins with scanPrefix
// (case-sensitive), and its slot is the number from numberOffset on, read as atoi reads it. A
// new key is namePrefix followed by its slot zero-padded to digits.
struct SKeyNaming {
    const char* scanPrefix;
    const char* namePrefix;
    std::size_t numberOffset;
    int digits;
    int slots;

    bool Counts(const std::string& keyName) const;
    std::string Name(int slot) const;
    // Whether keyName is exactly a name Name() gives: namePrefix and digits decimal digits.
    bool IsName(const std::string& keyName) const;
};

// At most ten boards, Board000 to Board009, under the driver key.
inline constexpr int kMaxBoards = 10;
inline constexpr SKeyNaming kBoardKeys = {"Bo", "Board", 5, 3, kMaxBoards};
// At most sixteen ports, Port000 to Port015, under their board's key.
inline constexpr SKeyNaming kPortKeys = {"Po", "Port", 4, 3, 16};

// The driver key's sub-key of a board and that board key's sub-key of a port.
std::string BoardKeyPath(const std::string& boardKeyName);
std::string PortKeyPath(const std::string& boardKeyName, const std::string& portKeyName);

// The longest key name the registry carries.
inline constexpr std::size_t kMaxKeyNameLength = 255;

// A name the system uses as a record's key name must be a single, non-empty key name the
// registry can carry (no '\\', no zero character, at most kMaxKeyNameLength characters), or its
// edits and removal would reach another key.
bool IsSingleKeyName(const std::string& name);

// Where the running platform family keeps a port's operating-system instance key and how it
// names a new one: Serial002 to Serial998 under Serial\Parameters on Windows NT, 0000 to 0998
// under Class\Ports on Windows 95/98. noParentName is the name taken when the parent key cannot
// be opened, exhaustedName when no slot is free or the reservation fails.
struct SInstanceNaming {
    const std::string& parentPath;
    SKeyNaming keys;
    int firstSlot;
    const char* noParentName;
    const char* exhaustedName;
};
const SInstanceNaming& InstanceNaming();

// Whether a port's PortSerialPort names an instance of the running family, one that
// MakeSerialInstanceName can give out: "Serial" and three digits on Windows NT (Serial002 to
// Serial998), four digits on Windows 95/98 (0000 to 0998). Any other text (empty, another
// family's, a fallback such as "Serial000", "Serial999" or "1000") names no instance key of
// ours, so nothing is registered or deleted for it. On Linux it is a board line, "ttyS4" to
// "ttyS31", which has no key.
bool IsInstanceName(const std::string& instance);

// The instance key of the running family (Serial\Parameters\<S> or Class\Ports\<S>).
std::string InstanceKeyPath(const std::string& instance);
// The instance's keys of each family: Windows NT Serial\Parameters\<S>; Windows 95/98
// Class\Ports\<S>, its device key Enum\Root\Ports\<S> and that key's LogConfig sub-key.
std::string SerialInstanceKeyPath(const std::string& instance);
std::string ClassInstanceKeyPath(const std::string& instance);
std::string DeviceInstanceKeyPath(const std::string& instance);
std::string LogConfigKeyPath(const std::string& instance);

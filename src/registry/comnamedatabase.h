#pragma once

#include <optional>
#include <string>
#include <vector>

// The COM name database of Windows 2000 and later: the REG_BINARY value ComDB of
// Control\COM Name Arbiter, in which bit (n-1) % 8 of byte (n-1) / 8 is set while COMn is given
// out. The bits of our ports' numbers are ours: a port reserves its number as it is registered,
// and a number a port of ours gave up (removed, or registered under another name) is released
// once no port uses it, ours or the machine's (a DosDevices under Serial\Parameters, a PortName
// under Enum, a COM name under the driver key). No other bit is ever changed, and an installation
// without ComDB (Windows NT 4.0), or with one of another type, gets none.
class CComNameDatabase {
public:
    // "COM" (any case) and a decimal 1 to 256 without leading zeros: the number.
    static std::optional<unsigned> ComNumber(const std::string& text);

    // The COM name the Windows NT instance is registered with (its DosDevices), or "".
    static std::string Registered(const std::string& instance);

    // Reserves the numbers of reserved and releases those of released that are in use nowhere;
    // names that are no COM names are passed over. Writes ComDB only when a bit changes; a failed
    // write shows "Unable to write to registry".
    static void Update(const std::vector<std::string>& reserved,
                       const std::vector<std::string>& released);
};

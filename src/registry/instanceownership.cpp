#include "instanceownership.h"

#include "driverkeywalk.h"
#include "keypaths.h"
#include "platformfamily.h"
#include "registry.h"
#include "registryvalues.h"
#include "stringtable.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr std::uint32_t kRecordValueBuffer = 128;

bool SameKeyName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A key that exists but cannot be read may name the instance: it counts as one that does, so
// that nothing is deleted on a guess.
constexpr int kUnreadable = 1;

int PortNames(const std::string& boardKeyName, const std::string& portKeyName,
              const std::string& instance) {
    CRegistry port;
    const Win32Status status =
        port.OpenKey(PortKeyPath(boardKeyName, portKeyName), "", KEY_ALL_ACCESS, 1);
    if (status != ERROR_SUCCESS) {
        return status == ERROR_FILE_NOT_FOUND ? 0 : kUnreadable;
    }
    const std::string named =
        ReadTextOr(port, LoadString(IDS_PORT_SERIAL_PORT), kRecordValueBuffer, "");
    return SameKeyName(named, instance) ? 1 : 0;
}

int BoardPortsNaming(CDriverKeyWalk& walk, const std::string& boardKeyName,
                     const std::string& instance) {
    CRegistry boardKey;
    const Win32Status status = boardKey.OpenKey(BoardKeyPath(boardKeyName), "", KEY_ALL_ACCESS, 1);
    if (status != ERROR_SUCCESS) {
        return status == ERROR_FILE_NOT_FOUND ? 0 : kUnreadable;
    }
    int count = 0;
    walk.ForEachPortKey(boardKey, boardKeyName, [&](const std::string& portKeyName) {
        count += PortNames(boardKeyName, portKeyName, instance);
    });
    return count;
}
} // namespace

int CInstanceOwnership::NamingPorts(const std::string& instance) {
    CRegistry driverKey;
    const Win32Status status = driverKey.OpenKey(DriverKeyPath(), "", KEY_ALL_ACCESS, 1);
    if (status != ERROR_SUCCESS) {
        return status == ERROR_FILE_NOT_FOUND ? 0 : kUnreadable;
    }
    int count = 0;
    CDriverKeyWalk walk;
    walk.ForEachBoardKey(driverKey, [&](const std::string& boardKeyName) {
        count += BoardPortsNaming(walk, boardKeyName, instance);
    });
    return count;
}

bool CInstanceOwnership::MayDeleteAfterRemoval(const std::string& instance) {
    // A Linux line is no key: its registration goes with the next Save.
    if (IsLinux()) {
        return false;
    }
    return IsInstanceName(instance) && NamingPorts(instance) == 0;
}

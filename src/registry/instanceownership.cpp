#include "instanceownership.h"

#include "driverkeywalk.h"
#include "keypaths.h"
#include "platformfamily.h"
#include "registry.h"
#include "registryvalues.h"
#include "stringtable.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace {
constexpr std::uint32_t kRecordValueBuffer = 128;

bool SameKeyName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

using CTexts = std::vector<std::optional<std::string>>;

void PortText(const std::string& boardKeyName, const std::string& portKeyName,
              const std::string& valueName, CTexts& texts) {
    CRegistry port;
    const Win32Status status =
        port.OpenKey(PortKeyPath(boardKeyName, portKeyName), "", KEY_ALL_ACCESS, 1);
    if (status == ERROR_SUCCESS) {
        texts.emplace_back(ReadTextOr(port, valueName, kRecordValueBuffer, ""));
    } else if (status != ERROR_FILE_NOT_FOUND) {
        texts.emplace_back(std::nullopt);
    }
}

void BoardPortTexts(CDriverKeyWalk& walk, const std::string& boardKeyName,
                    const std::string& valueName, CTexts& texts) {
    CRegistry boardKey;
    const Win32Status status = boardKey.OpenKey(BoardKeyPath(boardKeyName), "", KEY_ALL_ACCESS, 1);
    if (status != ERROR_SUCCESS) {
        if (status != ERROR_FILE_NOT_FOUND) {
            texts.emplace_back(std::nullopt);
        }
        return;
    }
    walk.ForEachPortKey(boardKey, boardKeyName, [&](const std::string& portKeyName) {
        PortText(boardKeyName, portKeyName, valueName, texts);
    });
}
} // namespace

std::vector<std::optional<std::string>> CInstanceOwnership::PortTexts(unsigned valueId) {
    CTexts texts;
    CRegistry driverKey;
    const Win32Status status = driverKey.OpenKey(DriverKeyPath(), "", KEY_ALL_ACCESS, 1);
    if (status != ERROR_SUCCESS) {
        if (status != ERROR_FILE_NOT_FOUND) {
            texts.emplace_back(std::nullopt);
        }
        return texts;
    }
    const std::string valueName = LoadString(valueId);
    CDriverKeyWalk walk;
    walk.ForEachBoardKey(driverKey, [&](const std::string& boardKeyName) {
        BoardPortTexts(walk, boardKeyName, valueName, texts);
    });
    return texts;
}

int CInstanceOwnership::NamingPorts(const std::string& instance) {
    // A key that cannot be read may name the instance: it counts as one that does, so that
    // nothing is deleted on a guess.
    int count = 0;
    for (const std::optional<std::string>& named : PortTexts(IDS_PORT_SERIAL_PORT)) {
        count += !named || SameKeyName(*named, instance) ? 1 : 0;
    }
    return count;
}

bool CInstanceOwnership::MayDeleteAfterRemoval(const std::string& instance) {
    // A Linux line is no key: its registration goes with the next Save.
    if (IsLinux()) {
        return false;
    }
    return IsInstanceName(instance) && NamingPorts(instance) == 0;
}

#include "linuxlines.h"

#include "irootfilesystem.h"
#include "keypaths.h"
#include "linuxmachine.h"
#include "platformservices.h"
#include "registry.h"
#include "serialconf.h"
#include "slotscan.h"
#include "stringtable.h"

#include <vector>

namespace {
constexpr std::string_view kPrefix = "ttyS";

void MarkLine(std::vector<bool>& used, int number) {
    if (number >= 0 && number < CLinuxLines::kCount) {
        used[static_cast<std::size_t>(number)] = true;
    }
}

std::string PortLine(const std::string& boardKeyName, const std::string& portKeyName) {
    CRegistry port;
    if (port.OpenKey(PortKeyPath(boardKeyName, portKeyName), "", KEY_ALL_ACCESS, 1) !=
        ERROR_SUCCESS) {
        return "";
    }
    char text[32];
    std::uint32_t size = sizeof text;
    if (port.ReadValue(LoadString(IDS_PORT_SERIAL_PORT), text, size) != ERROR_SUCCESS ||
        size == 0) {
        return "";
    }
    return std::string(text, size - 1);
}

// The lines named by the ports under the driver key, as the load walks it.
void MarkPortLines(std::vector<bool>& used) {
    CRegistry driver;
    if (driver.OpenKey(DriverKeyPath(), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        return;
    }
    std::vector<std::string> boards;
    ForEachSubKeyName(driver, [&](const std::string& name) {
        if (kBoardKeys.Counts(name) && IsSingleKeyName(name)) {
            boards.push_back(name);
        }
    });
    for (const std::string& board : boards) {
        CRegistry boardKey;
        if (boardKey.OpenKey(BoardKeyPath(board), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
            continue;
        }
        ForEachSubKeyName(boardKey, [&](const std::string& name) {
            if (kPortKeys.Counts(name) && IsSingleKeyName(name)) {
                MarkLine(used, CLinuxLines::Number(PortLine(board, name)));
            }
        });
    }
}

void MarkMachineLines(std::vector<bool>& used, const IRootFileSystem& files) {
    std::string conf;
    if (files.Read(CSerialConf::kPath, conf) == 0) {
        for (int number : CSerialConf(conf).ForeignLines()) {
            MarkLine(used, number);
        }
    }
    for (const SMachineLine& line : CLinuxMachine(files).Lines()) {
        MarkLine(used, line.number);
    }
}
} // namespace

int CLinuxLines::Number(const std::string& name) {
    if (!name.starts_with(kPrefix) || name.size() == kPrefix.size() ||
        name.size() > kPrefix.size() + 2) {
        return -1;
    }
    const std::string digits = name.substr(kPrefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos ||
        (digits.size() > 1 && digits.front() == '0')) {
        return -1;
    }
    const int number = std::stoi(digits);
    return number < kCount ? number : -1;
}

std::string CLinuxLines::Name(int number) {
    return std::string(kPrefix) + std::to_string(number);
}

bool CLinuxLines::IsBoardLine(const std::string& name) {
    return Number(name) >= kFirst;
}

std::string CLinuxLines::MakeLineName() {
    std::vector<bool> used(kCount, false);
    MarkPortLines(used);
    if (const IRootFileSystem* files = CPlatformServices::RootFileSystem()) {
        MarkMachineLines(used, *files);
    }
    const int free = LowestFreeSlot(used, kFirst);
    return free < 0 ? "" : Name(free);
}

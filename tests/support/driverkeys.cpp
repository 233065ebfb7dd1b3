#include "driverkeys.h"

#include "testkeypaths.h"

#include <cstdio>
#include <variant>

namespace {
// One value of a key: its name and its text or DWORD.
struct SNamedValue {
    const char* name;
    std::variant<std::string, std::uint32_t> data;
};

std::vector<SNamedValue> ValuesOf(const SBoardValues& board) {
    return {{"BoardName", board.name},
            {"BoardType", board.type},
            {"BoardBaseAddress", board.baseAddress},
            {"BoardShareIRQEnabled", board.shareIRQEnabled},
            {"BoardBaseCOMPort", board.baseCOMPort},
            {"BoardShareIRQ", board.shareIRQ},
            {"BoardVectorAddress", board.vectorAddress},
            {"BoardStandardModeEnabled", board.standardMode}};
}

std::vector<SNamedValue> ValuesOf(const SPortValues& port) {
    return {{"PortName", port.name},   {"PortCOMPort", port.comPort},
            {"PortIRQ", port.irq},     {"PortAddress", port.address},
            {"PortIndex", port.index}, {"PortSerialPort", port.instance}};
}

void Put(CHiveProbe& probe, const std::string& key, const std::vector<SNamedValue>& values) {
    for (const SNamedValue& value : values) {
        if (const auto* text = std::get_if<std::string>(&value.data)) {
            probe.SetText(key, value.name, *text);
        } else {
            probe.SetDword(key, value.name, std::get<std::uint32_t>(value.data));
        }
    }
}

std::vector<std::string> Lines(const std::string& relative,
                               const std::vector<SNamedValue>& values) {
    std::vector<std::string> lines = {"[" + relative + "]"};
    for (const SNamedValue& value : values) {
        if (const auto* text = std::get_if<std::string>(&value.data)) {
            lines.push_back(std::string(value.name) + "=\"" + *text + "\"");
        } else {
            char digits[16];
            std::snprintf(digits, sizeof digits, "dword:%08x", std::get<std::uint32_t>(value.data));
            lines.push_back(std::string(value.name) + "=" + digits);
        }
    }
    return lines;
}
} // namespace

void PutBoardKey(CHiveProbe& probe, const SBoardValues& board) {
    Put(probe, BoardKey(board.name), ValuesOf(board));
}

void PutPortKey(CHiveProbe& probe, const std::string& board, const SPortValues& port) {
    Put(probe, PortKey(board, port.name), ValuesOf(port));
}

std::vector<std::string> BoardKeyLines(const std::string& relative, const SBoardValues& board) {
    return Lines(relative, ValuesOf(board));
}

std::vector<std::string> PortKeyLines(const std::string& relative, const SPortValues& port) {
    return Lines(relative, ValuesOf(port));
}

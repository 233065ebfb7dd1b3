#include "driverkeys.h"

#include "testkeypaths.h"

#include <cstdio>

namespace {
std::string TextLine(const std::string& name, const std::string& text) {
    return name + "=\"" + text + "\"";
}

std::string DwordLine(const std::string& name, std::uint32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", value);
    return name + "=" + digits;
}
} // namespace

void PutBoardKey(CHiveProbe& probe, const SBoardValues& board) {
    const std::string key = BoardKey(board.name);
    probe.SetText(key, "BoardName", board.name);
    probe.SetText(key, "BoardType", board.type);
    probe.SetText(key, "BoardBaseAddress", board.baseAddress);
    probe.SetDword(key, "BoardShareIRQEnabled", board.shareIRQEnabled);
    probe.SetText(key, "BoardBaseCOMPort", board.baseCOMPort);
    probe.SetText(key, "BoardShareIRQ", board.shareIRQ);
    probe.SetText(key, "BoardVectorAddress", board.vectorAddress);
    probe.SetDword(key, "BoardStandardModeEnabled", board.standardMode);
}

void PutPortKey(CHiveProbe& probe, const std::string& board, const SPortValues& port) {
    const std::string key = PortKey(board, port.name);
    probe.SetText(key, "PortName", port.name);
    probe.SetText(key, "PortCOMPort", port.comPort);
    probe.SetText(key, "PortIRQ", port.irq);
    probe.SetText(key, "PortAddress", port.address);
    probe.SetText(key, "PortIndex", port.index);
    probe.SetText(key, "PortSerialPort", port.instance);
}

std::vector<std::string> BoardKeyLines(const std::string& relative, const SBoardValues& board) {
    return {"[" + relative + "]",
            TextLine("BoardName", board.name),
            TextLine("BoardType", board.type),
            TextLine("BoardBaseAddress", board.baseAddress),
            DwordLine("BoardShareIRQEnabled", board.shareIRQEnabled),
            TextLine("BoardBaseCOMPort", board.baseCOMPort),
            TextLine("BoardShareIRQ", board.shareIRQ),
            TextLine("BoardVectorAddress", board.vectorAddress),
            DwordLine("BoardStandardModeEnabled", board.standardMode)};
}

std::vector<std::string> PortKeyLines(const std::string& relative, const SPortValues& port) {
    return {"[" + relative + "]",
            TextLine("PortName", port.name),
            TextLine("PortCOMPort", port.comPort),
            TextLine("PortIRQ", port.irq),
            TextLine("PortAddress", port.address),
            TextLine("PortIndex", port.index),
            TextLine("PortSerialPort", port.instance)};
}

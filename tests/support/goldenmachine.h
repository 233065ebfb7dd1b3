#pragma once

#include <string>
#include <vector>

// The qserctl commands of a machine that passes the resource check: a board whose four ports
// share interrupt 5, and a board of two ports addressed one by one.
inline const std::vector<std::vector<std::string>>& GoldenMachineCommands() {
    static const std::vector<std::vector<std::string>> commands = {
        {"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300", "BoardShareIRQEnabled=1",
         "BoardShareIRQ=5", "BoardVectorAddress=0x2d0"},
        {"add-port", "Board000"},
        {"add-board", "BoardType=RX-201"},
        {"add-port", "Board001"},
        {"add-port", "Board001"},
        {"set", "Board001/Port000", "PortIRQ=3", "PortCOMPort=COM7"},
        {"set", "Board001/Port001", "PortIRQ=4", "PortAddress=0x288", "PortCOMPort=COM8"},
    };
    return commands;
}

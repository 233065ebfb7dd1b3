#pragma once

#include "hiveprobe.h"

#include <cstdint>
#include <string>
#include <vector>

// Board and port keys under the driver key as a test lays them into the hive or expects them
// there, each with all its values in the order the driver writes them. The defaults are those of
// a new board and its first port.
struct SBoardValues {
    std::string name = "Board000";
    std::string type = "RX-401";
    std::string baseAddress = "0x200";
    std::uint32_t shareIRQEnabled = 0;
    std::string baseCOMPort = "COM3";
    std::string shareIRQ = "NONE";
    std::string vectorAddress = "NONE";
    std::uint32_t standardMode = 0;
};

struct SPortValues {
    std::string name = "Port000";
    std::string comPort = "COM3";
    std::string irq = "7";
    std::string address = "0x200";
    std::string index = "1";
    std::string instance = "Serial002";
};

// Writes the board's key (named after the board) with its eight values.
void PutBoardKey(CHiveProbe& probe, const SBoardValues& board);
// Writes the port's key under the board's key with its six values.
void PutPortKey(CHiveProbe& probe, const std::string& board, const SPortValues& port);

// The lines CHiveProbe::Dump gives for such a key: "[<relative>]", then its values.
std::vector<std::string> BoardKeyLines(const std::string& relative, const SBoardValues& board);
std::vector<std::string> PortKeyLines(const std::string& relative, const SPortValues& port);

#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CBoardObj;
class CPortObj;

// The rules that derive a port's resources from its board. index is the port's zero-based
// position in its board's port list.

// "NONE" (any case) gives the standard-mode address of ports 0 to 3 and "NONE" beyond them.
// Otherwise the address digits of the base (AddressDigits) read as hexadecimal, plus 8 per
// index, as "0x" and lower-case hex without leading zeros ("0x000", 1 -> "0x8").
std::string MakePortAddress(const std::string& baseAddress, int index);

// "NONE" (any case) gives "COM" and index + 1. Otherwise the number after the first three
// characters (read as atoi reads it) plus index; there is no upper bound.
std::string MakePortCOMPort(const std::string& baseCOMPort, int index);

// A change of a board's settings that its ports follow.
enum class EBoardChange {
    BaseAddress,     // block-addressed boards: each port's address from the base
    BaseCOMPort,     // each port's COM name from the base
    ShareIRQ,        // while sharing: each port's IRQ is the shared one
    SharingOn,       // each port's IRQ is the shared one
    SharingOff,      // in standard mode: ports 0 to 3 get their standard IRQs
    StandardModeOn,  // ports 0 to 3: standard address and COM name
    StandardModeOff, // ports 0 to 3: the address and COM name that follow standard mode
};

// One value of one port that a change set: the port's place in its board's list and the
// value's name id (a field of PortFields()).
struct SPortChange {
    std::size_t portIndex;
    unsigned valueNameId;

    bool operator==(const SPortChange&) const = default;
};

// Applies change, which the board's own settings already show, to the board's ports and returns
// every value it set, in the order the ports' keys are to be written: port by port, a port's
// address before its COM name. A value set to what it was counts as set.
std::vector<SPortChange> CarryOverToPorts(CBoardObj& board, EBoardChange change);

// Gives a port added at index of a block-addressed board what the base address, base COM port
// and shared IRQ carry-overs would give it there, and its index.
void DeriveNewPort(const CBoardObj& board, CPortObj& port, int index);

#pragma once

#include <string>

// The rules that derive a port's resources from its board. index is the port's zero-based
// position in its board's port list.

// "NONE" (any case) gives the standard-mode address of ports 0 to 3 and "NONE" beyond them.
// Otherwise the address digits of the base (AddressDigits) read as hexadecimal, plus 8 per
// index, as "0x" and lower-case hex without leading zeros ("0x000", 1 -> "0x8").
std::string MakePortAddress(const std::string& baseAddress, int index);

// "NONE" (any case) gives "COM" and index + 1. Otherwise the number after the first three
// characters (read as atoi reads it) plus index; there is no upper bound.
std::string MakePortCOMPort(const std::string& baseCOMPort, int index);

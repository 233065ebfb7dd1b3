#pragma once

#include "checksnapshot.h"

// Builds the check's snapshot from the current hive, as the registration pass reads the driver
// key back (CDriverKeyStore::ReadBoardKey and ReadPortKey, so missing values get the same
// defaults), plus the operating system's port entries of the current platform family that no
// port of ours names, and on Windows NT the serial ports the installation enumerates under Enum
// that are not its records of ports of ours. It only reads: a missing driver key or parent key
// gives an empty part, and a key that cannot be opened is left out without a message.
class CCheckReader {
public:
    static SCheckSnapshot Read();

private:
    static void ReadBoards(SCheckSnapshot& snapshot);
    static void ReadForeign(SCheckSnapshot& snapshot);
    static void ReadDevices(SCheckSnapshot& snapshot);
};

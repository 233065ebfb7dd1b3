#pragma once

#include "checksnapshot.h"

class IRootFileSystem;

// Reads what the check needs of a Linux machine under a root: its serial lines (those that are
// the boards' own ports, applied already, are left out: a line counts as a port's when the
// port names it and the line has the port's address), the I/O ranges and interrupts other
// drivers hold, the lines /etc/serial.conf sets up outside QSER's block, the kernel's line
// count and its lockdown.
class CLinuxFacts {
public:
    static SLinuxFacts Read(const IRootFileSystem& files, const std::vector<SCheckBoard>& boards);
};

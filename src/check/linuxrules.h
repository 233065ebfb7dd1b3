#pragma once

#include "checkfinding.h"
#include "checksnapshot.h"

#include <vector>

// The rules of the Linux family: every port needs a serial line of its own (ttyS4 to ttyS31)
// that neither the machine nor /etc/serial.conf already uses (line-invalid, line-taken); a line
// beyond what the running kernel registered works only after a restart with 8250.nr_uarts
// (line-kernel, one finding per board, since one parameter serves all its lines); a locked-down
// kernel refuses every port (lockdown); and a sharing board's vector register has no use on Linux,
// whose driver polls every port on the interrupt (vector-unused, information only).
class CLinuxRules {
public:
    static void Check(const SCheckSnapshot& snapshot, std::vector<SCheckFinding>& findings);
};

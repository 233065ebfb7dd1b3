#pragma once

#include "checkfinding.h"
#include "checksnapshot.h"

#include <vector>

// The resource check: what the machine would report at boot about the configuration, found
// while it is edited. It refuses nothing; it only describes.
class CResourceCheck {
public:
    // Every finding of every rule, in the order of FindingPrecedes. Any snapshot is accepted:
    // a value that cannot be understood gives value-invalid and is left out of the other rules.
    static std::vector<SCheckFinding> Run(const SCheckSnapshot& snapshot);

    // Reads the current hive (CCheckReader) and checks it.
    static std::vector<SCheckFinding> RunOnRegistry();

    static int Count(const std::vector<SCheckFinding>& findings, ECheckSeverity severity);
};

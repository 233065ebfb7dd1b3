#pragma once

#include "checkfinding.h"

#include <vector>

class CCheckInventory;

// io-overlap, io-alias, io-system and io-legacy. Pairs of two operating-system entries are the
// machine's own business and are not reported; the PC's own devices are compared with our
// ranges only.
class CIoRules {
public:
    static void Check(const CCheckInventory& inventory, std::vector<SCheckFinding>& findings);

private:
    static void CheckOverlaps(const CCheckInventory& inventory,
                              std::vector<SCheckFinding>& findings);
    static void CheckAliases(const CCheckInventory& inventory,
                             std::vector<SCheckFinding>& findings);
    static void CheckPcDevices(const CCheckInventory& inventory,
                               std::vector<SCheckFinding>& findings);
};

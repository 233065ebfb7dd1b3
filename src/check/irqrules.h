#pragma once

#include "checkfinding.h"

#include <vector>

class CCheckInventory;

// irq-boards (one finding per interrupt), irq-unshared (one per board and interrupt),
// irq-system and irq-legacy (one per port). Interrupts of operating-system entries count only
// against ports of ours.
class CIrqRules {
public:
    static void Check(const CCheckInventory& inventory, std::vector<SCheckFinding>& findings);

private:
    static void CheckSharing(const CCheckInventory& inventory, unsigned irq,
                             const std::vector<std::size_t>& users,
                             std::vector<SCheckFinding>& findings);
    static void CheckUnshared(const CCheckInventory& inventory, unsigned irq,
                              const std::vector<std::size_t>& users,
                              std::vector<SCheckFinding>& findings);
    static void CheckReserved(const CCheckInventory& inventory,
                              std::vector<SCheckFinding>& findings);
};

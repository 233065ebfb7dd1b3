#pragma once

#include "checkfinding.h"

#include <vector>

class CCheckInventory;

// com-duplicate (one finding per name), com-taken and com-high (one per port). COM names
// compare by their number, so that case does not matter.
class CComRules {
public:
    static void Check(const CCheckInventory& inventory, std::vector<SCheckFinding>& findings);
};

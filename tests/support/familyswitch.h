#pragma once

#include "processscope.h"

#include <optional>

// The platform family for the rest of a test, changed as often as the test needs; the family
// installed before comes back when the switch ends.
class CFamilySwitch {
public:
    void Use(EPlatformFamily family) {
        m_scope.reset();
        m_scope.emplace(SProcessReferences{.platformFamily = family});
    }

private:
    std::optional<CProcessScope> m_scope;
};

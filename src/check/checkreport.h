#pragma once

#include "checkfinding.h"

#include <string>
#include <vector>

// The resource check's findings as text for a person, the same wherever they are shown.
class CCheckReport {
public:
    // Each finding on a line of its own ("error io-overlap: sentence") with its keys indented
    // below it, then the counts; in UTF-8.
    static std::string Text(const std::vector<SCheckFinding>& findings);
};

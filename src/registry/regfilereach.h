#pragma once

#include "regfileoperation.h"
#include "registrysnapshot.h"

#include <vector>

class CHive;

// Which keys an import of a .reg file can change, as roots for a snapshot taken before it: a
// key the file deletes, with its sub-keys; a key it sets values of, alone when it exists, else
// from its first missing ancestor down (the import makes every missing key of the path).
class CRegFileReach {
public:
    static std::vector<CRegistrySnapshot::SRoot>
    Roots(CHive& hive, const std::vector<SRegFileOperation>& operations);
};

#pragma once

#include "hive.h"

#include <set>
#include <string>
#include <vector>

class CQSERDoc;

// Records every write and delete of a run and checks that each stayed inside what the
// configuration owns: the driver key, the serial service's own values, the instance keys
// its ports name and the COM name database's ComDB. QSER_FUZZ_STRICT_OWNERSHIP=1 also stops on
// other keys under the instance folders.
class CWriteCheck {
public:
    // Adds the instance keys the document's ports name now.
    void Allow(CQSERDoc& doc);
    void Record(const SHiveWrite& write) { m_writes.emplace_back(write.keyPath, write.valueName); }
    // Aborts, naming the key, on a write or delete outside.
    void Verify() const;

private:
    bool Named(const std::string& path) const;

    std::set<std::string> m_instances;
    // The three instance keys of each, made once: Verify looks at every write.
    std::vector<std::string> m_instanceKeys;
    // Key path and value name (empty for a deletion) of each.
    std::vector<std::pair<std::string, std::string>> m_writes;
};

#pragma once

#include "hive.h"

#include <set>
#include <string>
#include <vector>

class CQSERDoc;

// Records every write and delete of a run and checks that each stayed inside what the
// configuration owns: the driver key, the serial service's own values and the instance keys
// its ports name. QSER_FUZZ_STRICT_OWNERSHIP=1 also stops on other keys under the instance
// folders.
class CWriteCheck {
public:
    // Adds the instance keys the document's ports name now.
    void Allow(CQSERDoc& doc);
    void Record(const SHiveWrite& write) { m_writes.push_back(write.keyPath); }
    // Aborts, naming the key, on a write or delete outside.
    void Verify() const;

private:
    bool Named(const std::string& path) const;

    std::set<std::string> m_instances;
    // The three instance keys of each, made once: Verify looks at every write.
    std::vector<std::string> m_instanceKeys;
    std::vector<std::string> m_writes;
};

#include "regfilereach.h"

#include "hive.h"
#include "hivepath.h"

#include <set>

std::vector<CRegistrySnapshot::SRoot>
CRegFileReach::Roots(CHive& hive, const std::vector<SRegFileOperation>& operations) {
    std::vector<CRegistrySnapshot::SRoot> roots;
    std::set<std::string> seen;
    for (const SRegFileOperation& operation : operations) {
        // The root itself is never made or deleted, and its values no key change reaches.
        const bool whole = operation.op == ERegFileOp::DeleteKeyTree;
        if (operation.keyPath.empty() || (operation.op != ERegFileOp::CreateKey && !whole) ||
            !seen.insert(CHivePath::Fold(operation.keyPath) + (whole ? "*" : "")).second) {
            continue;
        }
        roots.push_back(whole ? CRegistrySnapshot::SRoot{operation.keyPath, true}
                              : CRegistrySnapshot::Reach(hive, operation.keyPath, false));
    }
    return roots;
}

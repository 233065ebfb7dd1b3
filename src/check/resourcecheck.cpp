#include "resourcecheck.h"

#include "checkinventory.h"
#include "checkreader.h"
#include "comrules.h"
#include "hivebatch.h"
#include "iorules.h"
#include "irqrules.h"
#include "linuxrules.h"

#include <algorithm>

std::vector<SCheckFinding> CResourceCheck::Run(const SCheckSnapshot& snapshot) {
    CCheckInventory inventory(snapshot);
    std::vector<SCheckFinding> findings = std::move(inventory.InvalidValues());
    CIoRules::Check(inventory, findings);
    CIrqRules::Check(inventory, findings);
    CComRules::Check(inventory, findings);
    if (snapshot.linuxFamily) {
        CLinuxRules::Check(snapshot, findings);
    }
    std::sort(findings.begin(), findings.end(), &FindingPrecedes);
    return findings;
}

std::vector<SCheckFinding> CResourceCheck::RunOnRegistry() {
    // One snapshot of the file for the whole read: the check judges one state of it, and finds
    // each key once rather than walking from the root for every value.
    CHiveBatch snapshot(nullptr, EBatchAccess::Read);
    const SCheckSnapshot read = CCheckReader::Read();
    snapshot.Commit();
    return Run(read);
}

int CResourceCheck::Count(const std::vector<SCheckFinding>& findings, ECheckSeverity severity) {
    return static_cast<int>(
        std::count_if(findings.begin(), findings.end(), [severity](const SCheckFinding& finding) {
            return finding.severity == severity;
        }));
}

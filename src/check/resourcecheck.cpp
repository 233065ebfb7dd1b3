#include "resourcecheck.h"

#include "checkinventory.h"
#include "checkreader.h"
#include "comrules.h"
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
    return Run(CCheckReader::Read());
}

int CResourceCheck::Count(const std::vector<SCheckFinding>& findings, ECheckSeverity severity) {
    return static_cast<int>(
        std::count_if(findings.begin(), findings.end(), [severity](const SCheckFinding& finding) {
            return finding.severity == severity;
        }));
}

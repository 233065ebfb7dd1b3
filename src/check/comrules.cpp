#include "comrules.h"

#include "checkinventory.h"
#include "sentences.h"

#include <string>

namespace {
constexpr unsigned kHighestPlainName = 9;
// COM names are numbered 1 to 256 (CValueFormats::ComNumber).
constexpr unsigned kComNumbers = 257;

std::string ComName(unsigned number) {
    return "COM" + std::to_string(number);
}

struct SUsers {
    std::vector<const SOccupant*> ours;
    std::vector<const SOccupant*> foreign;
};

std::vector<std::string> Labels(const std::vector<const SOccupant*>& occupants) {
    std::vector<std::string> labels;
    for (const SOccupant* occupant : occupants) {
        labels.push_back(occupant->Label());
    }
    return labels;
}

void AddKeyPaths(const std::vector<const SOccupant*>& occupants, std::vector<std::string>& paths) {
    for (const SOccupant* occupant : occupants) {
        paths.push_back(occupant->KeyPath());
    }
}
} // namespace

void CComRules::Check(const CCheckInventory& inventory, std::vector<SCheckFinding>& findings) {
    std::vector<SUsers> byNumber(kComNumbers);
    for (const SOccupant& occupant : inventory.Occupants()) {
        if (occupant.comNumber && *occupant.comNumber < kComNumbers) {
            SUsers& users = byNumber[*occupant.comNumber];
            (occupant.IsForeign() ? users.foreign : users.ours).push_back(&occupant);
        }
    }
    for (unsigned number = 0; number < kComNumbers; ++number) {
        const SUsers& users = byNumber[number];
        if (users.ours.size() > 1) {
            SCheckFinding finding{SeverityOf(ECheckCode::ComDuplicate),
                                  ECheckCode::ComDuplicate,
                                  {},
                                  CSentences::Capitalised(CSentences::List(Labels(users.ours))) +
                                      " are " + CSentences::BothOrAll(users.ours.size()) +
                                      " named " + ComName(number) + "."};
            AddKeyPaths(users.ours, finding.items);
            findings.push_back(std::move(finding));
        }
        for (const SOccupant* port : users.ours) {
            if (!users.foreign.empty()) {
                SCheckFinding finding{SeverityOf(ECheckCode::ComTaken),
                                      ECheckCode::ComTaken,
                                      {port->KeyPath()},
                                      port->Label() + " is named " + ComName(number) +
                                          ", which is already the name of " +
                                          CSentences::List(Labels(users.foreign)) + "."};
                AddKeyPaths(users.foreign, finding.items);
                findings.push_back(std::move(finding));
            }
            // Linux opens its lines by their own names; the COM name only names a link.
            if (number > kHighestPlainName && !inventory.LinuxFamily()) {
                findings.push_back({SeverityOf(ECheckCode::ComHigh),
                                    ECheckCode::ComHigh,
                                    {port->KeyPath()},
                                    port->Label() + " is named " + ComName(number) +
                                        ": many programs cannot open a port above COM9 by its "
                                        "plain name (they need \\\\.\\" +
                                        ComName(number) + ")."});
            }
        }
    }
}

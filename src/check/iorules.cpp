#include "iorules.h"

#include "checkinventory.h"
#include "pcdevices.h"
#include "sentences.h"

#include <algorithm>
#include <utility>

namespace {
using CPairs = std::vector<std::pair<std::size_t, std::size_t>>;

struct SPiece {
    SIoRange range;
    std::size_t occupant;
};

std::string Described(const SOccupant& occupant) {
    return occupant.Label() + " (" + occupant.range->Text() + ")";
}

// Every pair of pieces that share an address and may conflict, each pair once, by a sweep over
// the pieces in the order of their first address. The system's own entries are kept apart from
// ours, so that many of them on few addresses cost nothing among themselves.
CPairs MeetingPairs(const std::vector<SOccupant>& occupants, std::vector<SPiece> pieces) {
    std::sort(pieces.begin(), pieces.end(),
              [](const SPiece& a, const SPiece& b) { return a.range.first < b.range.first; });
    CPairs pairs;
    std::vector<const SPiece*> openOurs;
    std::vector<const SPiece*> openForeign;
    auto meet = [&](std::vector<const SPiece*>& open, const SPiece& piece) {
        std::erase_if(
            open, [&](const SPiece* earlier) { return earlier->range.last < piece.range.first; });
        for (const SPiece* earlier : open) {
            if (earlier->occupant != piece.occupant) {
                pairs.emplace_back(std::min(earlier->occupant, piece.occupant),
                                   std::max(earlier->occupant, piece.occupant));
            }
        }
    };
    for (const SPiece& piece : pieces) {
        const bool foreign = occupants[piece.occupant].IsForeign();
        meet(openOurs, piece);
        if (foreign) {
            std::erase_if(openForeign, [&](const SPiece* earlier) {
                return earlier->range.last < piece.range.first;
            });
        } else {
            meet(openForeign, piece);
        }
        (foreign ? openForeign : openOurs).push_back(&piece);
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    return pairs;
}

// What a finding says of an occupant of a pair, and where it is.
struct SPairWords {
    std::string described;
    std::string keyPath;
};

// Made at most once for each occupant, however many pairs it is in: ten boards on one address
// put each of their ports in nine.
class CPairWords {
public:
    explicit CPairWords(const std::vector<SOccupant>& occupants)
        : m_occupants(occupants), m_words(occupants.size()) {}

    const SPairWords& Of(std::size_t occupant) {
        SPairWords& words = m_words[occupant];
        if (words.described.empty()) {
            words = {Described(m_occupants[occupant]), m_occupants[occupant].KeyPath()};
        }
        return words;
    }

private:
    const std::vector<SOccupant>& m_occupants;
    std::vector<SPairWords> m_words;
};

void AddPair(const SPairWords& a, const SPairWords& b, ECheckCode code, std::string sentence,
             std::vector<SCheckFinding>& findings) {
    findings.push_back({SeverityOf(code), code, {a.keyPath, b.keyPath}, std::move(sentence)});
}

// Where an ISA card's decoded addresses of the range meet the device, and whether the range
// itself does (rather than through its alias).
struct STouch {
    bool decoded = false;
    bool direct = false;
};

STouch Touches(const SIoRange& range, const SIoRange& device) {
    STouch touch;
    touch.direct = range.Overlaps(device);
    touch.decoded = touch.direct || range.Aliases(device);
    return touch;
}

const char* kAliasClause = ", through the 10-bit address decoding of ISA cards,";
} // namespace

void CIoRules::Check(const CCheckInventory& inventory, std::vector<SCheckFinding>& findings) {
    CheckOverlaps(inventory, findings);
    CheckAliases(inventory, findings);
    CheckPcDevices(inventory, findings);
}

void CIoRules::CheckOverlaps(const CCheckInventory& inventory,
                             std::vector<SCheckFinding>& findings) {
    const std::vector<SOccupant>& occupants = inventory.Occupants();
    std::vector<SPiece> pieces;
    for (std::size_t i = 0; i < occupants.size(); ++i) {
        if (occupants[i].range) {
            pieces.push_back({*occupants[i].range, i});
        }
    }
    CPairWords words(occupants);
    for (const auto& [first, second] : MeetingPairs(occupants, std::move(pieces))) {
        const SPairWords& a = words.Of(first);
        const SPairWords& b = words.Of(second);
        AddPair(a, b, ECheckCode::IoOverlap,
                CSentences::Capitalised(a.described + " overlaps " + b.described + "."), findings);
    }
}

void CIoRules::CheckAliases(const CCheckInventory& inventory,
                            std::vector<SCheckFinding>& findings) {
    const std::vector<SOccupant>& occupants = inventory.Occupants();
    std::vector<SPiece> pieces;
    for (std::size_t i = 0; i < occupants.size(); ++i) {
        if (!occupants[i].range) {
            continue;
        }
        for (const SIoRange& decoded : occupants[i].range->Decoded()) {
            pieces.push_back({decoded, i});
        }
    }
    CPairWords words(occupants);
    for (const auto& [first, second] : MeetingPairs(occupants, std::move(pieces))) {
        if (!occupants[first].range->Overlaps(*occupants[second].range)) {
            const SPairWords& a = words.Of(first);
            const SPairWords& b = words.Of(second);
            AddPair(a, b, ECheckCode::IoAlias,
                    CSentences::Capitalised(a.described + " and " + b.described +
                                            " are the same addresses to an ISA card, which "
                                            "decodes only 10 address bits."),
                    findings);
        }
    }
}

void CIoRules::CheckPcDevices(const CCheckInventory& inventory,
                              std::vector<SCheckFinding>& findings) {
    for (const SOccupant& occupant : inventory.Occupants()) {
        if (occupant.IsForeign() || !occupant.range) {
            continue;
        }
        const STouch system = Touches(*occupant.range, CPcDevices::SystemRange());
        if (system.decoded) {
            findings.push_back(
                {SeverityOf(ECheckCode::IoSystem),
                 ECheckCode::IoSystem,
                 {occupant.KeyPath()},
                 CSentences::Capitalised(Described(occupant) + " is" +
                                         (system.direct ? "" : kAliasClause) +
                                         " on the system board's addresses 0x000-0x0ff (" +
                                         CPcDevices::SystemRangeUsers() + ").")});
        }
        std::vector<std::string> devices;
        bool direct = false;
        for (const SPcDevice& device : CPcDevices::LegacyDevices()) {
            const STouch touch = Touches(*occupant.range, device.range);
            if (touch.decoded &&
                std::find(devices.begin(), devices.end(), device.name) == devices.end()) {
                devices.push_back(device.name);
                direct = direct || touch.direct;
            }
        }
        if (!devices.empty()) {
            findings.push_back(
                {SeverityOf(ECheckCode::IoLegacy),
                 ECheckCode::IoLegacy,
                 {occupant.KeyPath()},
                 CSentences::Capitalised(
                     Described(occupant) + " uses" + (direct ? "" : kAliasClause) +
                     " the addresses of " + CSentences::List(devices) + ": disable " +
                     (devices.size() == 1 ? "it" : "them") + ", or choose another address.")});
        }
    }
}

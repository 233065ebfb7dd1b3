#include "irqrules.h"

#include "checkinventory.h"
#include "pcdevices.h"
#include "sentences.h"

#include <algorithm>
#include <array>
#include <string>

namespace {
constexpr std::size_t kInterrupts = 16;

std::string Interrupt(unsigned irq) {
    return "interrupt " + std::to_string(irq);
}

// "Board000 (Port000, Port001)" for each board in order of first use, then the foreign entries.
std::string UsersText(const CCheckInventory& inventory, const std::vector<std::size_t>& users) {
    const std::vector<SOccupant>& occupants = inventory.Occupants();
    std::vector<std::string> parts;
    std::vector<int> boards;
    for (std::size_t user : users) {
        const int board = occupants[user].board;
        if (board == SOccupant::kForeign ||
            std::find(boards.begin(), boards.end(), board) != boards.end()) {
            continue;
        }
        boards.push_back(board);
        std::vector<std::string> ports;
        for (std::size_t other : users) {
            if (occupants[other].board == board) {
                ports.push_back(std::string(occupants[other].name));
            }
        }
        parts.push_back(inventory.Boards()[static_cast<std::size_t>(board)].keyName + " (" +
                        CSentences::List(ports) + ")");
    }
    for (std::size_t user : users) {
        if (occupants[user].IsForeign()) {
            parts.push_back(occupants[user].Label());
        }
    }
    return CSentences::List(parts);
}

std::vector<std::string> KeyPaths(const CCheckInventory& inventory,
                                  const std::vector<std::size_t>& users) {
    std::vector<std::string> paths;
    for (std::size_t user : users) {
        paths.push_back(inventory.Occupants()[user].KeyPath());
    }
    return paths;
}
} // namespace

void CIrqRules::Check(const CCheckInventory& inventory, std::vector<SCheckFinding>& findings) {
    std::array<std::vector<std::size_t>, kInterrupts> users;
    const std::vector<SOccupant>& occupants = inventory.Occupants();
    for (std::size_t i = 0; i < occupants.size(); ++i) {
        if (occupants[i].irq) {
            users[*occupants[i].irq].push_back(i);
        }
    }
    for (unsigned irq = 0; irq < kInterrupts; ++irq) {
        CheckSharing(inventory, irq, users[irq], findings);
        CheckUnshared(inventory, irq, users[irq], findings);
    }
    CheckReserved(inventory, findings);
}

void CIrqRules::CheckSharing(const CCheckInventory& inventory, unsigned irq,
                             const std::vector<std::size_t>& users,
                             std::vector<SCheckFinding>& findings) {
    std::vector<int> boards;
    bool foreign = false;
    for (std::size_t user : users) {
        const int board = inventory.Occupants()[user].board;
        if (board == SOccupant::kForeign) {
            foreign = true;
        } else if (std::find(boards.begin(), boards.end(), board) == boards.end()) {
            boards.push_back(board);
        }
    }
    if (boards.empty() || (boards.size() == 1 && !foreign)) {
        return;
    }
    findings.push_back(
        {SeverityOf(ECheckCode::IrqBoards), ECheckCode::IrqBoards, KeyPaths(inventory, users),
         CSentences::Capitalised(Interrupt(irq)) + " is used by " + UsersText(inventory, users) +
             ": ISA interrupts are edge-triggered and cannot be shared between "
             "cards."});
}

void CIrqRules::CheckUnshared(const CCheckInventory& inventory, unsigned irq,
                              const std::vector<std::size_t>& users,
                              std::vector<SCheckFinding>& findings) {
    const std::vector<SOccupant>& occupants = inventory.Occupants();
    for (std::size_t board = 0; board < inventory.Boards().size(); ++board) {
        if (inventory.Boards()[board].shares) {
            continue;
        }
        std::vector<std::size_t> ports;
        std::vector<std::string> names;
        for (std::size_t user : users) {
            if (occupants[user].board == static_cast<int>(board)) {
                ports.push_back(user);
                names.push_back(std::string(occupants[user].name));
            }
        }
        if (ports.size() < 2) {
            continue;
        }
        const std::string& boardName = inventory.Boards()[board].keyName;
        findings.push_back({SeverityOf(ECheckCode::IrqUnshared), ECheckCode::IrqUnshared,
                            KeyPaths(inventory, ports),
                            CSentences::List(names) + " of " + boardName + " are " +
                                CSentences::BothOrAll(names.size()) + " on " + Interrupt(irq) +
                                ", but " + boardName + " does not share its interrupt."});
    }
}

void CIrqRules::CheckReserved(const CCheckInventory& inventory,
                              std::vector<SCheckFinding>& findings) {
    for (const SOccupant& occupant : inventory.Occupants()) {
        if (occupant.IsForeign() || !occupant.irq) {
            continue;
        }
        const std::string on = occupant.Label() + " is on " + Interrupt(*occupant.irq);
        if (const char* user = CPcDevices::SystemInterruptUser(*occupant.irq)) {
            findings.push_back({SeverityOf(ECheckCode::IrqSystem),
                                ECheckCode::IrqSystem,
                                {occupant.KeyPath()},
                                on + ", which belongs to " + user + ": choose another interrupt."});
        }
        if (const char* user = CPcDevices::LegacyInterruptUser(*occupant.irq)) {
            findings.push_back(
                {SeverityOf(ECheckCode::IrqLegacy),
                 ECheckCode::IrqLegacy,
                 {occupant.KeyPath()},
                 on + ", which " + user + " uses: disable it, or choose another interrupt."});
        }
    }
}

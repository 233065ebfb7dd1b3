#pragma once

#include "checkfinding.h"
#include "checksnapshot.h"
#include "occupant.h"

#include <deque>
#include <string>
#include <vector>

// The snapshot turned into what the rules compare: every occupant with the resources it takes,
// each board's name and sharing, and a value-invalid finding for every value that cannot be
// understood (that value then takes part in no other rule).
class CCheckInventory {
public:
    struct SBoard {
        std::string keyName;
        bool shares = false;
    };

    explicit CCheckInventory(const SCheckSnapshot& snapshot);

    // Ports and vector registers in the snapshot's board and port order, then the foreign
    // entries in theirs, then the enumerated devices (one occupant for each of their ranges and
    // interrupts beyond the first, the COM name on the first only).
    const std::vector<SOccupant>& Occupants() const { return m_occupants; }
    const std::vector<SBoard>& Boards() const { return m_boards; }
    std::vector<SCheckFinding>& InvalidValues() { return m_invalid; }
    bool LinuxFamily() const { return m_bLinux; }

private:
    void AddBoard(const SCheckBoard& board);
    void AddPort(const SCheckBoard& board, const SCheckPort& port);
    void CheckBoardTexts(const SCheckBoard& board, bool shares);
    void AddForeign(const SForeignEntry& entry, bool windows9x);
    void AddForeignNT(const SForeignEntry& entry, SOccupant& occupant);
    void AddForeign9x(const SForeignEntry& entry, SOccupant& occupant);
    void AddForeignComName(const SForeignEntry& entry, unsigned nameId, SOccupant& occupant);
    void AddDevice(const SMachinePort& device);
    void ReportUnread();
    void Invalid(const std::string& keyPath, const std::string& sentence);

    std::vector<SOccupant> m_occupants;
    std::vector<SBoard> m_boards;
    std::vector<SCheckFinding> m_invalid;
    // The names devices are shown by, which their occupants view.
    std::deque<std::string> m_deviceNames;
    // The devices whose resources could not be read.
    std::vector<const SMachinePort*> m_unread;
    bool m_bLinux = false;
};

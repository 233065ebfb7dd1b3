#pragma once

#include "iorange.h"

#include <optional>
#include <string>
#include <string_view>

// One thing of the machine that takes resources: a port of ours, the interrupt status (vector)
// register of a board that shares its interrupt, a port entry of the operating system that
// is not ours, or what a Linux machine's own lines and drivers hold (also foreign). Only the
// resources whose values are valid are set.
struct SOccupant {
    enum class EKind { Port, VectorRegister, Foreign, Machine };

    EKind kind = EKind::Foreign;
    // Views of the snapshot the occupant was made from, which must outlive it: the key name of
    // the port, board or operating-system entry, the board's key name, the entry's key path.
    std::string_view name;
    std::string_view boardName;
    std::string_view foreignKeyPath;
    // Index of its board in the snapshot; kForeign for an operating-system entry.
    int board = kForeign;
    std::optional<SIoRange> range;
    std::optional<unsigned> irq;
    std::optional<unsigned> comNumber;

    static constexpr int kForeign = -1;
    bool IsForeign() const { return board == kForeign; }
    // How sentences name it: "Port001 of Board000", "the vector register of Board000",
    // "the system's port COM1 (Serial000)" (without a valid COM name: "the system's port
    // Serial000"). Made when a finding needs it, which is rare.
    std::string Label() const;
    // Its key under HKEY_LOCAL_MACHINE.
    std::string KeyPath() const;
};

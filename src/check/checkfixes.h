#pragma once

#include "checkfinding.h"
#include "checksnapshot.h"

#include <string>
#include <vector>

// A remedy for a finding, as the pick a person would make in a form: a board's next free base
// address, a board's (or an individually addressed port's) next free COM names, or switching
// on a board's interrupt sharing. Offered only where the model has that pick and it is open
// (not set by standard mode or by the board), and only where the value found clears the
// finding's kind of conflict for that board or port.
enum class ECheckFixKind { NextFreeBaseAddress, NextFreeCOMNames, ShareInterrupt };

struct SCheckFix {
    ECheckFixKind kind;
    std::string board; // key name
    std::string port;  // key name, for a port's own COM name; else empty
    std::string value; // the entry to pick; "1" for the sharing check box
    // "Use the next free base address for Board001 (0x300)".
    std::string label;
    bool operator==(const SCheckFix&) const = default;
};

class CCheckFixes {
public:
    static std::vector<SCheckFix> For(const SCheckSnapshot& snapshot, const SCheckFinding& finding);
    // The key of the board or port whose form the fix picks in.
    static std::string KeyPathOf(const SCheckFix& fix);

private:
    static bool Clears(SCheckSnapshot trial, const SCheckFinding& finding,
                       const std::string& involved);
};

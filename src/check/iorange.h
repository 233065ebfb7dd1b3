#pragma once

#include <string>
#include <vector>

// The I/O addresses first to last, both included.
struct SIoRange {
    unsigned first = 0;
    unsigned last = 0;
    bool operator==(const SIoRange&) const = default;

    bool Overlaps(const SIoRange& other) const {
        return first <= other.last && other.first <= last;
    }
    // "0x208-0x20f", or "0x2d0" for a single address.
    std::string Text() const;
    // The addresses an ISA card, which decodes the low 10 address bits, answers to, folded
    // into 0x000-0x3ff: one range, or two when the range crosses a multiple of 0x400.
    std::vector<SIoRange> Decoded() const;
    // Whether the card's decoded addresses of the two ranges meet.
    bool Aliases(const SIoRange& other) const;
};

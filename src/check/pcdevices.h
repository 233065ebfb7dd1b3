#pragma once

#include "iorange.h"

#include <string>
#include <vector>

// The standard devices of a PC that a board must keep clear of.
struct SPcDevice {
    SIoRange range;
    const char* name;
};

class CPcDevices {
public:
    // The system board's own addresses 0x000-0x0ff.
    static SIoRange SystemRange();
    static const char* SystemRangeUsers();
    // The devices that can be disabled (IDE, printer ports, video, floppy, built-in COM ports).
    static const std::vector<SPcDevice>& LegacyDevices();
    // What uses an interrupt that no card may take (0, 1, 2, 8, 13), or null.
    static const char* SystemInterruptUser(unsigned irq);
    // What uses an interrupt a card may take once it is disabled (6, 12, 14, 15), or null.
    static const char* LegacyInterruptUser(unsigned irq);
};

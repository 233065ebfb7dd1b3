#pragma once

#include "hive.h"
#include "iorange.h"

#include <optional>
#include <vector>

// The I/O ranges and ISA interrupts a device's resource list gives it.
struct SDeviceResources {
    std::vector<SIoRange> ranges;
    std::vector<unsigned> irqs;
    bool operator==(const SDeviceResources&) const = default;
};

// Reads a REG_RESOURCE_LIST or REG_FULL_RESOURCE_DESCRIPTOR value as Windows lays it out. Its
// partial descriptors take 16 bytes on a 32-bit installation and 20 bytes on a 64-bit one (the
// interrupt's processor affinity is pointer-sized); nothing in the value says which, so the
// layout is the one whose descriptors fill the value exactly.
//
// I/O ports (0x000-0xffff) and line-based interrupts 0 to 15 are kept; memory, DMA, bus numbers,
// message-signalled and higher interrupts take no part in what the check compares.
class CResourceList {
public:
    // Nothing when the value is of another type, fits neither layout, or fits both with
    // different meanings: the check never guesses.
    static std::optional<SDeviceResources> Decode(const SHiveValue& value);

private:
    static std::optional<SDeviceResources> DecodeAs(const SHiveValue& value, std::size_t partial);
};

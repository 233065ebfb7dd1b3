#pragma once

#include <cstdint>
#include <vector>

// Resource lists as Windows stores them in LogConf\BootConfig and AllocConfig, for the tests
// that build an installation's own ports.
struct STestResource {
    enum class EKind { Port, Interrupt, Memory, DeviceSpecific };
    EKind kind = EKind::Port;
    // A port's or memory range's start, an interrupt's level, device-specific data's size.
    std::uint64_t start = 0;
    std::uint32_t length = 0;
    std::uint16_t flags = 0;
};

// The partial descriptor's size: 16 bytes on 32-bit Windows, 20 on 64-bit.
enum class ETestLayout { Bits32, Bits64 };

// One full descriptor (ISA, bus 0) with the resources as partial descriptors; an I/O port
// carries the I/O flag, and device-specific data follows its descriptor as that many bytes.
std::vector<std::uint8_t> FullDescriptor(ETestLayout layout,
                                         const std::vector<STestResource>& resources);
// A REG_RESOURCE_LIST holding that one full descriptor.
std::vector<std::uint8_t> ResourceList(ETestLayout layout,
                                       const std::vector<STestResource>& resources);

inline STestResource IoPort(std::uint64_t start, std::uint32_t length = 8) {
    return {STestResource::EKind::Port, start, length, 0x0001};
}
inline STestResource Irq(std::uint32_t level, std::uint16_t flags = 0) {
    return {STestResource::EKind::Interrupt, level, 0, flags};
}

#include "testresources.h"

namespace {
void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::vector<std::uint8_t> Partial(ETestLayout layout, const STestResource& resource) {
    std::vector<std::uint8_t> bytes(layout == ETestLayout::Bits32 ? 16 : 20, 0);
    const std::uint8_t types[] = {1, 2, 3, 5};
    bytes[0] = types[static_cast<int>(resource.kind)];
    bytes[1] = 3; // shared
    Put(bytes, 2, resource.flags, 2);
    switch (resource.kind) {
    case STestResource::EKind::Port:
    case STestResource::EKind::Memory:
        Put(bytes, 4, resource.start, 8);
        Put(bytes, 12, resource.length, 4);
        break;
    case STestResource::EKind::Interrupt:
        Put(bytes, 4, resource.start, 4);                                             // level
        Put(bytes, 8, resource.start, 4);                                             // vector
        Put(bytes, 12, 0xffffffffffffffffull, layout == ETestLayout::Bits32 ? 4 : 8); // affinity
        break;
    case STestResource::EKind::DeviceSpecific:
        Put(bytes, 4, resource.start, 4);
        bytes.resize(bytes.size() + resource.start, 0xa5);
        break;
    }
    return bytes;
}
} // namespace

std::vector<std::uint8_t> FullDescriptor(ETestLayout layout,
                                         const std::vector<STestResource>& resources) {
    std::vector<std::uint8_t> bytes(16, 0);
    Put(bytes, 0, 1, 4);  // ISA
    Put(bytes, 8, 1, 2);  // version
    Put(bytes, 10, 1, 2); // revision
    Put(bytes, 12, resources.size(), 4);
    for (const STestResource& resource : resources) {
        const std::vector<std::uint8_t> partial = Partial(layout, resource);
        bytes.insert(bytes.end(), partial.begin(), partial.end());
    }
    return bytes;
}

std::vector<std::uint8_t> ResourceList(ETestLayout layout,
                                       const std::vector<STestResource>& resources) {
    std::vector<std::uint8_t> bytes{1, 0, 0, 0};
    const std::vector<std::uint8_t> full = FullDescriptor(layout, resources);
    bytes.insert(bytes.end(), full.begin(), full.end());
    return bytes;
}

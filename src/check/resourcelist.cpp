#include "resourcelist.h"

#include <cstdint>

namespace {
constexpr std::uint32_t REG_RESOURCE_LIST = 8;
constexpr std::uint32_t REG_FULL_RESOURCE_DESCRIPTOR = 9;

// A full descriptor: interface type, bus number, version, revision and the partial count.
constexpr std::size_t kFullHeader = 16;
constexpr std::size_t kPartialCountAt = 12;
constexpr std::size_t kPartial32 = 16;
constexpr std::size_t kPartial64 = 20;

// A partial descriptor: type, share disposition, flags, then the resource.
constexpr std::uint8_t kPortType = 1;
constexpr std::uint8_t kInterruptType = 2;
constexpr std::uint8_t kDeviceSpecificType = 5;
constexpr std::size_t kFlagsAt = 2;
constexpr std::size_t kStartAt = 4;
constexpr std::size_t kLengthAt = 12;
constexpr std::size_t kLevelAt = 4;
constexpr std::size_t kDataSizeAt = 4;
constexpr std::uint16_t kPortIo = 0x0001;
constexpr std::uint16_t kInterruptMessage = 0x0002;
constexpr std::uint64_t kMaxIoAddress = 0xffff;
constexpr unsigned kMaxIrq = 15;

std::uint64_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = (value << 8) | bytes[at + i];
    }
    return value;
}

class CReader {
public:
    CReader(const std::vector<std::uint8_t>& bytes, std::size_t partial)
        : m_bytes(bytes), m_partial(partial) {}

    bool Has(std::size_t size) const { return m_bytes.size() - m_at >= size; }
    bool AtEnd() const { return m_at == m_bytes.size(); }

    // The little-endian number of size bytes at offset at of what is still to read.
    std::uint64_t Field(std::size_t at, std::size_t size) const {
        return Little(m_bytes, m_at + at, size);
    }
    void Skip(std::size_t size) { m_at += size; }

    // One full descriptor with its partial descriptors; false when the value ends inside it.
    bool Full(SDeviceResources& resources) {
        if (!Has(kFullHeader)) {
            return false;
        }
        const std::uint64_t partials = Field(kPartialCountAt, 4);
        Skip(kFullHeader);
        for (std::uint64_t i = 0; i < partials; ++i) {
            if (!Partial(resources)) {
                return false;
            }
        }
        return true;
    }

private:
    bool Partial(SDeviceResources& resources) {
        if (!Has(m_partial)) {
            return false;
        }
        const std::uint8_t type = m_bytes[m_at];
        const auto flags = static_cast<std::uint16_t>(Field(kFlagsAt, 2));
        if (type == kPortType && (flags & kPortIo) != 0) {
            AddRange(Field(kStartAt, 8), Field(kLengthAt, 4), resources);
        } else if (type == kInterruptType && (flags & kInterruptMessage) == 0) {
            const std::uint64_t level = Field(kLevelAt, 4);
            if (level <= kMaxIrq) {
                resources.irqs.push_back(static_cast<unsigned>(level));
            }
        }
        // Device-specific data follows its descriptor.
        const std::uint64_t data = type == kDeviceSpecificType ? Field(kDataSizeAt, 4) : 0;
        Skip(m_partial);
        if (data > m_bytes.size() - m_at) {
            return false;
        }
        Skip(static_cast<std::size_t>(data));
        return true;
    }

    static void AddRange(std::uint64_t start, std::uint64_t length, SDeviceResources& resources) {
        if (length != 0 && start <= kMaxIoAddress && length - 1 <= kMaxIoAddress - start) {
            resources.ranges.push_back(
                {static_cast<unsigned>(start), static_cast<unsigned>(start + length - 1)});
        }
    }

    const std::vector<std::uint8_t>& m_bytes;
    std::size_t m_partial;
    std::size_t m_at = 0;
};
} // namespace

std::optional<SDeviceResources> CResourceList::Decode(const SHiveValue& value) {
    const std::optional<SDeviceResources> small = DecodeAs(value, kPartial32);
    const std::optional<SDeviceResources> large = DecodeAs(value, kPartial64);
    if (small && large) {
        return small == large ? small : std::nullopt;
    }
    return small ? small : large;
}

std::optional<SDeviceResources> CResourceList::DecodeAs(const SHiveValue& value,
                                                        std::size_t partial) {
    CReader reader(value.data, partial);
    SDeviceResources resources;
    if (value.type == REG_FULL_RESOURCE_DESCRIPTOR) {
        return reader.Full(resources) && reader.AtEnd() ? std::optional(resources) : std::nullopt;
    }
    if (value.type != REG_RESOURCE_LIST || !reader.Has(4)) {
        return std::nullopt;
    }
    const std::uint64_t lists = reader.Field(0, 4);
    reader.Skip(4);
    for (std::uint64_t i = 0; i < lists; ++i) {
        if (!reader.Full(resources)) {
            return std::nullopt;
        }
    }
    return reader.AtEnd() ? std::optional(resources) : std::nullopt;
}

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// What tells one state of a file from another without reading all of it: a replacement has a
// new inode, a change in place a new size or modification time. Those can repeat (a freed inode
// is given to the next new file, and the clock of file times is coarse), so the first bytes
// count too: a hive's header holds sequence numbers and a time that every write changes.
struct SFileStamp {
    static constexpr std::size_t kHeadSize = 20;

    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedNs = 0;
    std::array<unsigned char, kHeadSize> head{};
    bool operator==(const SFileStamp&) const = default;

    // nullopt with errno when the path cannot be looked at.
    static std::optional<SFileStamp> Of(const std::string& path);
};

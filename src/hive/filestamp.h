#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/stat.h>

// What tells one state of a file from another without reading it: a replacement has a new
// inode, a change in place a new size or modification time.
struct SFileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedNs = 0;
    bool operator==(const SFileStamp&) const = default;

    static SFileStamp Of(const struct stat& info);
    // nullopt with errno when the path cannot be looked at.
    static std::optional<SFileStamp> Of(const std::string& path);
};

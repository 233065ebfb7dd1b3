#include "filestamp.h"

SFileStamp SFileStamp::Of(const struct stat& info) {
    constexpr std::int64_t kNsPerSecond = 1000000000;
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNsPerSecond + info.st_mtim.tv_nsec};
}

std::optional<SFileStamp> SFileStamp::Of(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return Of(info);
}

#include "filestamp.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<SFileStamp> SFileStamp::Of(const std::string& path) {
    constexpr std::int64_t kNsPerSecond = 1000000000;
    // One descriptor for both looks, so that they see the same file.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    SFileStamp stamp;
    const bool ok = fstat(fd, &info) == 0 && pread(fd, stamp.head.data(), kHeadSize, 0) >= 0;
    const int error = errno;
    close(fd);
    if (!ok) {
        errno = error;
        return std::nullopt;
    }
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNsPerSecond + info.st_mtim.tv_nsec;
    return stamp;
}

#include "regfheader.h"

#include "hivefile.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char kSignature[4] = {'r', 'e', 'g', 'f'};

// Reads up to count bytes from the start; the number read, or -1 with errno.
ssize_t ReadStart(const std::string& path, std::uint8_t* buffer, std::size_t count,
                  off_t& fileSize) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    ssize_t total = fstat(fd, &info) == 0 ? 0 : -1;
    fileSize = info.st_size;
    while (total >= 0 && static_cast<std::size_t>(total) < count) {
        const ssize_t got = read(fd, buffer + total, count - static_cast<std::size_t>(total));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            total = got < 0 ? -1 : total;
            break;
        }
        total += got;
    }
    const int saved = errno;
    close(fd);
    errno = saved;
    return total;
}
} // namespace

std::uint32_t CRegfHeader::Dword(const std::uint8_t* bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
           std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

std::uint32_t CRegfHeader::Checksum(const std::uint8_t* block) {
    std::uint32_t sum = 0;
    for (std::size_t offset = 0; offset < kChecksum; offset += 4) {
        sum ^= Dword(block, offset);
    }
    // The system keeps 0 and all-ones out of the field.
    if (sum == 0) {
        return 1;
    }
    return sum == 0xFFFFFFFF ? 0xFFFFFFFE : sum;
}

bool CRegfHeader::HasSignature(const std::string& path) {
    std::uint8_t start[sizeof kSignature] = {};
    off_t size = 0;
    return ReadStart(path, start, sizeof start, size) == sizeof start &&
           std::memcmp(start, kSignature, sizeof kSignature) == 0;
}

std::string CRegfHeader::Problem(const std::string& path) {
    std::array<std::uint8_t, kSize> block{};
    off_t fileSize = 0;
    const ssize_t got = ReadStart(path, block.data(), block.size(), fileSize);
    if (got < 0) {
        return CHiveFile::SystemReason(errno);
    }
    if (got < static_cast<ssize_t>(sizeof kSignature) ||
        std::memcmp(block.data(), kSignature, sizeof kSignature) != 0) {
        return "it is not a Windows registry hive";
    }
    if (got < static_cast<ssize_t>(kSize)) {
        return "it is truncated (it ends inside its 4096-byte header)";
    }
    if (Checksum(block.data()) != Dword(block.data(), kChecksum)) {
        return "its header is damaged (the checksum does not match)";
    }
    if (Dword(block.data(), kPrimarySequence) != Dword(block.data(), kSecondarySequence)) {
        return "it was not shut down cleanly: its changes are still in the transaction logs. "
               "Start that Windows once and shut it down cleanly, then try again";
    }
    const std::uint64_t expected = std::uint64_t{kSize} + Dword(block.data(), kHiveBinsSize);
    if (static_cast<std::uint64_t>(fileSize) < expected) {
        return "it is truncated (its header announces " + std::to_string(expected) +
               " bytes, the file holds " + std::to_string(fileSize) + ")";
    }
    return {};
}

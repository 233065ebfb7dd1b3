#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The base block of a Windows registry hive file: its first 4,096 bytes. Read plainly before the
// hive library sees the file, so that a hive which must not be used is refused with the reason,
// and left untouched.
class CRegfHeader {
public:
    static constexpr std::size_t kSize = 4096;
    static constexpr std::size_t kPrimarySequence = 4;
    static constexpr std::size_t kSecondarySequence = 8;
    static constexpr std::size_t kHiveBinsSize = 0x28;
    static constexpr std::size_t kChecksum = 0x1FC;

    // Whether the file begins with "regf".
    static bool HasSignature(const std::string& path);
    // Why the file is no hive that may be used ("" when it may): not a hive, truncated, a
    // damaged header, or changes still in its transaction logs.
    static std::string Problem(const std::string& path);
    // The XOR of the block's first 127 little-endian dwords, as the system computes it.
    static std::uint32_t Checksum(const std::uint8_t* block);
    static std::uint32_t Dword(const std::uint8_t* bytes, std::size_t offset);
};

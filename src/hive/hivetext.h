#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The system's text is Latin-1 bytes; a hive file holds text as UTF-16LE, and the hive library
// hands names over as UTF-8. Latin-1 maps one to one onto the first 256 code points, so every
// conversion either keeps each character or says that it cannot.
class CHiveText {
public:
    // Whether values of the type hold text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ).
    static bool IsText(std::uint32_t type);
    // Each byte one code unit, zeros included.
    static std::vector<std::uint8_t> ToUtf16(const std::vector<std::uint8_t>& latin1);
    // false for an odd byte count or a code unit above 0xFF (surrogates included).
    static bool FromUtf16(const char* utf16, std::size_t size, std::vector<std::uint8_t>& latin1);
    static std::string ToUtf8(std::string_view latin1);
    // false for bytes that are not UTF-8 or a character above U+00FF.
    static bool FromUtf8(std::string_view utf8, std::string& latin1);
};

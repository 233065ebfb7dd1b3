#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Turns the bytes of a .reg file into characters (Unicode code points):
// - a UTF-16LE byte-order mark: UTF-16LE (a lone surrogate stays as its own unit, so that it
//   is refused like any other character above U+00FF wherever it matters);
// - a UTF-8 byte-order mark: UTF-8, which must then be valid;
// - no mark: a version-5 file is UTF-8 when it is valid UTF-8, else Latin-1; anything else
//   (REGEDIT4 above all) is 8-bit text taken as Latin-1, byte for byte.
class CRegFileDecoder {
public:
    static constexpr std::string_view kRegedit4Header = "REGEDIT4";
    static constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";

    // False when the bytes cannot be decoded; errorLine (1-based) and reason say where and why.
    static bool Decode(std::span<const std::uint8_t> bytes, std::u32string& text,
                       std::size_t& errorLine, std::string& reason);

private:
    static bool DecodeUtf16(std::span<const std::uint8_t> bytes, std::u32string& text);
    static bool DecodeUtf8(std::span<const std::uint8_t> bytes, std::u32string& text,
                           std::size_t& badOffset);
    static std::size_t DecodeUtf8Char(std::span<const std::uint8_t> bytes, std::size_t at,
                                      char32_t& ch);
    static void DecodeLatin1(std::span<const std::uint8_t> bytes, std::u32string& text);
    static bool StartsWithVersion5Header(std::span<const std::uint8_t> bytes);
    template <class TChars> static std::size_t LineAt(const TChars& chars, std::size_t end);
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

enum class ERegFileEncoding { Latin1, Utf8, Utf16le };

// Tells how the bytes of a .reg file encode its characters (Unicode code points), and decodes
// one character at a time, so that a file is never held twice in memory:
// - a UTF-16LE byte-order mark: UTF-16LE (a lone surrogate stays as its own unit, so that it
//   is refused like any other character above U+00FF wherever it matters);
// - a UTF-8 byte-order mark: UTF-8, which must then be valid;
// - no mark: a version-5 file is UTF-8 when it is valid UTF-8, else Latin-1; anything else
//   (REGEDIT4 above all) is 8-bit text taken as Latin-1, byte for byte.
class CRegFileDecoder {
public:
    static constexpr std::string_view kRegedit4Header = "REGEDIT4";
    static constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";

    // The encoding and the text after the byte-order mark. False when the bytes cannot be
    // decoded; errorLine (1-based) and reason say where and why.
    static bool Detect(std::span<const std::uint8_t> bytes, ERegFileEncoding& encoding,
                       std::span<const std::uint8_t>& text, std::size_t& errorLine,
                       std::string& reason);
    // The character at `at` of text that Detect accepted, and its length in bytes (not 0).
    static char32_t CharAt(std::span<const std::uint8_t> text, ERegFileEncoding encoding,
                           std::size_t at, std::size_t& length);

private:
    static bool IsValidUtf8(std::span<const std::uint8_t> bytes, std::size_t& badOffset);
    static std::size_t DecodeUtf8Char(std::span<const std::uint8_t> bytes, std::size_t at,
                                      char32_t& ch);
    static char32_t DecodeUtf16Char(std::span<const std::uint8_t> bytes, std::size_t at,
                                    std::size_t& length);
    static bool StartsWithVersion5Header(std::span<const std::uint8_t> bytes);
    static std::size_t LineAt(std::span<const std::uint8_t> text, ERegFileEncoding encoding,
                              std::size_t end);
};

#include "regfiledecoder.h"

#include <algorithm>

// Line breaks are CRLF, LF or a lone CR.
template <class TChars> std::size_t CRegFileDecoder::LineAt(const TChars& chars, std::size_t end) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < end; ++i) {
        const bool crlf = chars[i] == '\r' && i + 1 < end && chars[i + 1] == '\n';
        if ((chars[i] == '\r' && !crlf) || chars[i] == '\n') {
            ++line;
        }
    }
    return line;
}

bool CRegFileDecoder::Decode(std::span<const std::uint8_t> bytes, std::u32string& text,
                             std::size_t& errorLine, std::string& reason) {
    text.clear();
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        if (DecodeUtf16(bytes.subspan(2), text)) {
            return true;
        }
        errorLine = LineAt(text, text.size());
        reason = "the UTF-16 text ends in the middle of a character";
        return false;
    }
    std::size_t badOffset = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        if (DecodeUtf8(bytes.subspan(3), text, badOffset)) {
            return true;
        }
        errorLine = LineAt(bytes.subspan(3), badOffset);
        reason = "invalid UTF-8 byte sequence";
        return false;
    }
    if (!StartsWithVersion5Header(bytes) || !DecodeUtf8(bytes, text, badOffset)) {
        DecodeLatin1(bytes, text);
    }
    return true;
}

bool CRegFileDecoder::DecodeUtf16(std::span<const std::uint8_t> bytes, std::u32string& text) {
    const std::size_t units = bytes.size() / 2;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        char32_t unit = bytes[2 * i] | (char32_t{bytes[2 * i + 1]} << 8);
        const bool highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
        if (highSurrogate && i + 1 < units) {
            const char32_t next = bytes[2 * i + 2] | (char32_t{bytes[2 * i + 3]} << 8);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            }
        }
        text.push_back(unit);
    }
    return bytes.size() % 2 == 0;
}

bool CRegFileDecoder::DecodeUtf8(std::span<const std::uint8_t> bytes, std::u32string& text,
                                 std::size_t& badOffset) {
    text.clear();
    text.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        char32_t ch = 0;
        const std::size_t length = DecodeUtf8Char(bytes, at, ch);
        if (length == 0) {
            badOffset = at;
            return false;
        }
        text.push_back(ch);
        at += length;
    }
    return true;
}

// The length of the well-formed sequence at `at` (overlong forms, surrogates and code points
// beyond U+10FFFF are not well-formed), or 0.
std::size_t CRegFileDecoder::DecodeUtf8Char(std::span<const std::uint8_t> bytes, std::size_t at,
                                            char32_t& ch) {
    const std::uint8_t lead = bytes[at];
    if (lead < 0x80) {
        ch = lead;
        return 1;
    }
    // Lead byte pattern, payload bits and smallest code point for 2, 3 and 4 byte sequences.
    static constexpr struct {
        std::uint8_t mask, pattern;
        char32_t smallest;
    } kForms[] = {{0xE0, 0xC0, 0x80}, {0xF0, 0xE0, 0x800}, {0xF8, 0xF0, 0x10000}};
    std::size_t length = 2;
    while (length <= 4 && (lead & kForms[length - 2].mask) != kForms[length - 2].pattern) {
        ++length;
    }
    if (length > 4) {
        return 0;
    }
    const char32_t smallest = kForms[length - 2].smallest;
    ch = lead & static_cast<std::uint8_t>(~kForms[length - 2].mask);
    if (bytes.size() - at < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const std::uint8_t next = bytes[at + k];
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        ch = (ch << 6) | (next & 0x3Fu);
    }
    const bool surrogate = ch >= 0xD800 && ch <= 0xDFFF;
    return ch < smallest || ch > 0x10FFFF || surrogate ? 0 : length;
}

void CRegFileDecoder::DecodeLatin1(std::span<const std::uint8_t> bytes, std::u32string& text) {
    text.assign(bytes.begin(), bytes.end());
}

bool CRegFileDecoder::StartsWithVersion5Header(std::span<const std::uint8_t> bytes) {
    const auto text = std::find_if(bytes.begin(), bytes.end(),
                                   [](std::uint8_t byte) { return byte != ' ' && byte != '\t'; });
    const auto rest = static_cast<std::size_t>(bytes.end() - text);
    return rest >= kVersion5Header.size() &&
           std::equal(kVersion5Header.begin(), kVersion5Header.end(), text);
}

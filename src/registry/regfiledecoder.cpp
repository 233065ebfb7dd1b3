#include "regfiledecoder.h"

#include <algorithm>

// Line breaks are CRLF, LF or a lone CR.
std::size_t CRegFileDecoder::LineAt(std::span<const std::uint8_t> text, ERegFileEncoding encoding,
                                    std::size_t end) {
    std::size_t line = 1;
    char32_t previous = 0;
    for (std::size_t at = 0, length = 0; at < end; at += length) {
        const char32_t ch = CharAt(text, encoding, at, length);
        if (ch == U'\n' ? previous != U'\r' : ch == U'\r') {
            ++line;
        }
        previous = ch;
    }
    return line;
}

bool CRegFileDecoder::Detect(std::span<const std::uint8_t> bytes, ERegFileEncoding& encoding,
                             std::span<const std::uint8_t>& text, std::size_t& errorLine,
                             std::string& reason) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        encoding = ERegFileEncoding::Utf16le;
        text = bytes.subspan(2);
        if (text.size() % 2 == 0) {
            return true;
        }
        errorLine = LineAt(text, encoding, text.size() - 1);
        reason = "the UTF-16 text ends in the middle of a character";
        return false;
    }
    std::size_t badOffset = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        text = bytes.subspan(3);
        encoding = ERegFileEncoding::Utf8;
        if (IsValidUtf8(text, badOffset)) {
            return true;
        }
        errorLine = LineAt(text, ERegFileEncoding::Latin1, badOffset);
        reason = "invalid UTF-8 byte sequence";
        return false;
    }
    text = bytes;
    const bool utf8 = StartsWithVersion5Header(bytes) && IsValidUtf8(bytes, badOffset);
    encoding = utf8 ? ERegFileEncoding::Utf8 : ERegFileEncoding::Latin1;
    return true;
}

char32_t CRegFileDecoder::CharAt(std::span<const std::uint8_t> text, ERegFileEncoding encoding,
                                 std::size_t at, std::size_t& length) {
    switch (encoding) {
    case ERegFileEncoding::Utf8: {
        char32_t ch = 0;
        length = DecodeUtf8Char(text, at, ch);
        return ch;
    }
    case ERegFileEncoding::Utf16le:
        return DecodeUtf16Char(text, at, length);
    case ERegFileEncoding::Latin1:
        break;
    }
    length = 1;
    return text[at];
}

char32_t CRegFileDecoder::DecodeUtf16Char(std::span<const std::uint8_t> bytes, std::size_t at,
                                          std::size_t& length) {
    const auto unitAt = [&bytes](std::size_t offset) {
        return static_cast<char32_t>(bytes[offset] | (bytes[offset + 1] << 8));
    };
    const char32_t unit = unitAt(at);
    length = 2;
    if (unit >= 0xD800 && unit <= 0xDBFF && at + 4 <= bytes.size()) {
        const char32_t next = unitAt(at + 2);
        if (next >= 0xDC00 && next <= 0xDFFF) {
            length = 4;
            return 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        }
    }
    return unit;
}

bool CRegFileDecoder::IsValidUtf8(std::span<const std::uint8_t> bytes, std::size_t& badOffset) {
    char32_t ch = 0;
    for (std::size_t at = 0, length = 0; at < bytes.size(); at += length) {
        length = DecodeUtf8Char(bytes, at, ch);
        if (length == 0) {
            badOffset = at;
            return false;
        }
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

bool CRegFileDecoder::StartsWithVersion5Header(std::span<const std::uint8_t> bytes) {
    const auto text = std::find_if(bytes.begin(), bytes.end(),
                                   [](std::uint8_t byte) { return byte != ' ' && byte != '\t'; });
    const auto rest = static_cast<std::size_t>(bytes.end() - text);
    return rest >= kVersion5Header.size() &&
           std::equal(kVersion5Header.begin(), kVersion5Header.end(), text);
}

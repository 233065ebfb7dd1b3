#include "hivetext.h"

#include "hive.h"

#include <algorithm>

bool CHiveText::IsText(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

std::vector<std::uint8_t> CHiveText::ToUtf16(const std::vector<std::uint8_t>& latin1) {
    std::vector<std::uint8_t> utf16;
    utf16.reserve(latin1.size() * 2);
    for (const std::uint8_t byte : latin1) {
        utf16.push_back(byte);
        utf16.push_back(0);
    }
    return utf16;
}

bool CHiveText::FromUtf16(const char* utf16, std::size_t size, std::vector<std::uint8_t>& latin1) {
    if (size % 2 != 0) {
        return false;
    }
    std::vector<std::uint8_t> text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i < size; i += 2) {
        if (utf16[i + 1] != 0) {
            return false;
        }
        text.push_back(static_cast<std::uint8_t>(utf16[i]));
    }
    latin1 = std::move(text);
    return true;
}

namespace {
// Most names and texts are ASCII, the same in both forms: one pass tells.
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
} // namespace

std::string CHiveText::ToUtf8(std::string_view latin1) {
    if (IsAscii(latin1)) {
        return std::string(latin1);
    }
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char ch : latin1) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            utf8 += ch;
        } else {
            utf8 += static_cast<char>(0xC0 | byte >> 6);
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

bool CHiveText::FromUtf8(std::string_view utf8, std::string& latin1) {
    if (IsAscii(utf8)) {
        latin1.assign(utf8);
        return true;
    }
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            text += static_cast<char>(lead);
            continue;
        }
        // U+0080..U+00FF are the two-byte sequences led by 0xC2 and 0xC3.
        if ((lead != 0xC2 && lead != 0xC3) || i + 1 >= utf8.size()) {
            return false;
        }
        const auto trail = static_cast<unsigned char>(utf8[++i]);
        if ((trail & 0xC0) != 0x80) {
            return false;
        }
        text += static_cast<char>((lead & 0x03) << 6 | (trail & 0x3F));
    }
    latin1 = std::move(text);
    return true;
}

#include "valueformats.h"

#include "comnamedatabase.h"
#include "textnumbers.h"

#include <cstdio>
#include <strings.h>

namespace {
constexpr std::size_t kMaxAddressDigits = 4;
constexpr std::size_t kMaxQuoted = 40;
constexpr unsigned kMaxIrq = 15;

bool IsDecimal(char c) {
    return c >= '0' && c <= '9';
}

bool IsHex(char c) {
    return IsDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool AllOf(const std::string& text, std::size_t from, bool (*accept)(char)) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (!accept(text[i])) {
            return false;
        }
    }
    return true;
}

// Digits only, so the value fits: callers bound the length first.
unsigned Decimal(const std::string& digits) {
    unsigned value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}
} // namespace

std::optional<unsigned> CValueFormats::Address(const std::string& text) {
    const std::size_t digits = text.size() < 2 ? 0 : text.size() - 2;
    if (text.rfind("0x", 0) != 0 || digits == 0 || digits > kMaxAddressDigits ||
        !AllOf(text, 2, &IsHex)) {
        return std::nullopt;
    }
    return static_cast<unsigned>(ParseAddress(text, 16));
}

std::optional<unsigned> CValueFormats::Irq(const std::string& text) {
    if (text.empty() || text.size() > 2 || !AllOf(text, 0, &IsDecimal)) {
        return std::nullopt;
    }
    const unsigned irq = Decimal(text);
    return irq <= kMaxIrq ? std::optional<unsigned>(irq) : std::nullopt;
}

std::optional<unsigned> CValueFormats::ComNumber(const std::string& text) {
    return CComNameDatabase::ComNumber(text);
}

bool CValueFormats::IsNone(const std::string& text) {
    return strcasecmp(text.c_str(), "NONE") == 0;
}

std::string CValueFormats::Quoted(const std::string& text) {
    std::string shown = text.size() > kMaxQuoted ? text.substr(0, kMaxQuoted) : text;
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = '?';
        }
    }
    return "\"" + shown + (text.size() > kMaxQuoted ? "...\"" : "\"");
}

std::string CValueFormats::Hex(unsigned number) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%03x", number);
    return text;
}

#include "textnumbers.h"

#include <climits>
#include <cstdint>

namespace {

std::uint32_t PowerModulo(std::uint32_t base, int exponent) {
    std::uint32_t result = 1;
    while (exponent > 0) {
        if ((exponent & 1) != 0) {
            result *= base;
        }
        base *= base;
        exponent >>= 1;
    }
    return result;
}

std::uint32_t DigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const unsigned lower = (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    return static_cast<std::uint32_t>(lower) - 87U;
}

bool IsAtoiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

int IntPower(int base, int exponent) {
    return static_cast<int>(PowerModulo(static_cast<std::uint32_t>(base), exponent));
}

int ParseDigits(const std::string& text, int radix) {
    std::uint32_t sum = 0;
    std::uint32_t weight = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        sum += DigitValue(static_cast<unsigned char>(*it)) * weight;
        weight *= static_cast<std::uint32_t>(radix);
    }
    return static_cast<int>(sum);
}

std::string AddressDigits(const std::string& text) {
    std::string last = text.size() > 3 ? text.substr(text.size() - 3) : text;
    const auto marker = last.find_last_of("xX");
    return marker == std::string::npos ? last : last.substr(marker + 1);
}

int ParseAddress(const std::string& text, int radix) {
    return text == "NONE" ? 0 : ParseDigits(AddressDigits(text), radix);
}

std::string MakePortIndex(int index) {
    return std::to_string(static_cast<long long>(index) + 1);
}

int LeadingInt(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsAtoiSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (text[pos] - '0');
        }
    }
    if (negative) {
        return value > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-value);
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

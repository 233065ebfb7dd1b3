#include "portderivation.h"

#include "textnumbers.h"
#include "valuelists.h"

#include <charconv>
#include <strings.h>

namespace {

bool IsNone(const std::string& text) {
    return strcasecmp(text.c_str(), "NONE") == 0;
}

// At most three hex digits, so the value always fits; no sign is accepted.
long long LeadingHex(const std::string& digits) {
    unsigned value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return value;
}

std::string HexText(long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    return "0x" + std::string(buffer, result.ptr);
}

} // namespace

std::string MakePortAddress(const std::string& baseAddress, int index) {
    if (IsNone(baseAddress)) {
        const auto& table = StandardModeTable();
        return index >= 0 && static_cast<std::size_t>(index) < table.size()
                   ? table[static_cast<std::size_t>(index)].address
                   : "NONE";
    }
    return HexText(LeadingHex(AddressDigits(baseAddress)) + 8LL * index);
}

std::string MakePortCOMPort(const std::string& baseCOMPort, int index) {
    if (IsNone(baseCOMPort)) {
        return "COM" + std::to_string(static_cast<long long>(index) + 1);
    }
    const std::string number = baseCOMPort.size() > 3 ? baseCOMPort.substr(3) : std::string();
    return "COM" + std::to_string(static_cast<long long>(LeadingInt(number)) + index);
}

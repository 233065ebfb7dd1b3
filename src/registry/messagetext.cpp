#include "messagetext.h"

#include <cstddef>

namespace {
constexpr std::size_t kShownCharacters = 40;

bool IsControl(unsigned char code) {
    return code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0);
}
} // namespace

std::string PrintableName(const std::string& name) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string printable;
    for (std::size_t i = 0; i < name.size() && i < kShownCharacters; ++i) {
        const auto code = static_cast<unsigned char>(name[i]);
        if (IsControl(code)) {
            printable += "\\x";
            printable += kDigits[code >> 4];
            printable += kDigits[code & 0x0F];
        } else {
            printable += name[i];
        }
    }
    if (name.size() > kShownCharacters) {
        printable += "...";
    }
    return printable;
}

std::string JoinedList(const std::vector<std::string>& items) {
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            list += i + 1 == items.size() ? " and " : ", ";
        }
        list += items[i];
    }
    return list;
}

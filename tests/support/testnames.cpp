#include "testnames.h"

#include <cstdio>

namespace {
bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string SymbolName(char c) {
    switch (c) {
    case ' ':
        return "Blank";
    case '\t':
        return "Tab";
    case '-':
        return "Minus";
    case '+':
        return "Plus";
    case '.':
        return "Dot";
    case '\0':
        return "Nul";
    default: {
        char hex[8];
        std::snprintf(hex, sizeof hex, "Hex%02X", static_cast<unsigned char>(c));
        return hex;
    }
    }
}
} // namespace

std::string TextName(std::string_view text) {
    if (text.empty()) {
        return "Empty";
    }
    std::string name;
    for (char c : text) {
        name += IsAsciiAlnum(c) ? std::string(1, c) : SymbolName(c);
    }
    return name;
}

std::string ModelName(std::string_view model) {
    std::string withoutDashes;
    for (char c : model) {
        if (c != '-') {
            withoutDashes += c;
        }
    }
    return TextName(withoutDashes);
}

std::string FamilyLabel(EPlatformFamily family) {
    return family == EPlatformFamily::WindowsNT ? "NT" : "Win9x";
}

std::string FamilyName(const ::testing::TestParamInfo<EPlatformFamily>& info) {
    return FamilyLabel(info.param);
}

void PrintTo(EPlatformFamily family, std::ostream* out) {
    *out << FamilyLabel(family);
}

std::string StoreLabel(ETestStore store) {
    return store == ETestStore::Sqlite ? "Sqlite" : "WindowsHive";
}

std::string StoreName(const ::testing::TestParamInfo<ETestStore>& info) {
    return StoreLabel(info.param);
}

void PrintTo(ETestStore store, std::ostream* out) {
    *out << StoreLabel(store);
}

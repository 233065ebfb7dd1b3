#include "platformfamily.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {
EPlatformFamily& Current() {
    static EPlatformFamily family = EPlatformFamily::WindowsNT;
    return family;
}

// Version numbers as the two families report them: NT 4.0 and Windows 98 (4.10, top bit set).
constexpr std::uint32_t kVersionNT = 0x05650004;
constexpr std::uint32_t kVersion9x = 0xC0000A04;
} // namespace

void CPlatformFamily::Set(EPlatformFamily family) {
    Current() = family;
}

EPlatformFamily CPlatformFamily::Get() {
    return Current();
}

std::optional<EPlatformFamily> CPlatformFamily::Parse(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "nt") {
        return EPlatformFamily::WindowsNT;
    }
    if (lower == "9x") {
        return EPlatformFamily::Windows9x;
    }
    if (lower == "linux") {
        return EPlatformFamily::Linux;
    }
    return std::nullopt;
}

std::optional<EPlatformFamily> CPlatformFamily::Resolve(const std::optional<std::string>& option) {
    if (option) {
        return Parse(*option);
    }
    if (const char* env = std::getenv("QSER_PLATFORM"); env != nullptr && *env != '\0') {
        return Parse(env);
    }
    return EPlatformFamily::WindowsNT;
}

std::uint32_t GetVersion() {
    return CPlatformFamily::Get() == EPlatformFamily::Windows9x ? kVersion9x : kVersionNT;
}

bool IsWindows9x() {
    return (GetVersion() & 0x80000000u) != 0;
}

bool IsLinux() {
    return CPlatformFamily::Get() == EPlatformFamily::Linux;
}

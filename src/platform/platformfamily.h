#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class EPlatformFamily { WindowsNT, Windows9x, Linux };

// Stand-in for the operating-system version query. The family is chosen once at start-up
// (--platform nt|9x|linux or QSER_PLATFORM, default nt); every branch of the system that depends
// on Windows NT versus Windows 95/98 asks GetVersion and tests its top bit, and the branches of
// the Linux family (which takes Windows NT's side of every such test) ask IsLinux. The family is
// set by the document layer's process scope, which puts back the previous one.
class CPlatformFamily {
public:
    static EPlatformFamily Get();

    // "nt", "9x" or "linux" (any case); anything else gives no value.
    static std::optional<EPlatformFamily> Parse(const std::string& text);

    // The option wins over the environment variable QSER_PLATFORM; neither gives Windows NT.
    // Returns no value when the chosen text is not a family name.
    static std::optional<EPlatformFamily> Resolve(const std::optional<std::string>& option);

private:
    friend class CProcessScope;
    static void Set(EPlatformFamily family);
};

// Top bit set means Windows 95/98, clear means Windows NT.
std::uint32_t GetVersion();
bool IsWindows9x();
bool IsLinux();

#pragma once

#include "win32status.h"

#include <string>
#include <string_view>
#include <vector>

// Key paths relative to HKEY_LOCAL_MACHINE: components separated by '\'.
class CHivePath {
public:
    static constexpr std::size_t kMaxKeyName = 255;
    // The registry's own limits, which .reg files keep to as well.
    static constexpr std::size_t kMaxDepth = 512;
    static constexpr std::size_t kMaxValueName = 16383;

    // Splits path into its key names. An empty component (leading, trailing or doubled '\') or
    // a name longer than kMaxKeyName gives ERROR_INVALID_PARAMETER. The empty path is the root
    // and gives no components.
    static Win32Status Split(const std::string& path, std::vector<std::string>& names);
    // The ASCII lower-case form under which names compare.
    static std::string Fold(const std::string& name);
    // Whether the two names are the same under Fold, without making the folded forms.
    static bool SameFolded(std::string_view a, std::string_view b);
    static std::string Join(const std::vector<std::string>& names);
    // text as it may safely reach a terminal or a message box: control characters (C0, DEL and
    // C1) written as \xNN. Text is Latin-1, as the registry holds it, or UTF-8 (where a C1
    // control is a two-byte sequence).
    static std::string Printable(std::string_view text, bool utf8 = false);
};

#pragma once

#include "win32status.h"

#include <string>
#include <vector>

// Key paths relative to HKEY_LOCAL_MACHINE: components separated by '\'.
class CHivePath {
public:
    static constexpr std::size_t kMaxKeyName = 255;

    // Splits path into its key names. An empty component (leading, trailing or doubled '\') or
    // a name longer than kMaxKeyName gives ERROR_INVALID_PARAMETER. The empty path is the root
    // and gives no components.
    static Win32Status Split(const std::string& path, std::vector<std::string>& names);
    // The ASCII lower-case form under which names compare.
    static std::string Fold(const std::string& name);
    static std::string Join(const std::vector<std::string>& names);
};

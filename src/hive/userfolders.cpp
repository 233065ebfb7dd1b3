#include "userfolders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

std::string CUserFolders::Data() {
    return Chosen("XDG_DATA_HOME", "/.local/share");
}

std::string CUserFolders::Cache() {
    return Chosen("XDG_CACHE_HOME", "/.cache");
}

std::string CUserFolders::Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string CUserFolders::Home() {
    std::string home = Environment("HOME");
    if (home.empty()) {
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : ".";
    }
    return home;
}

std::string CUserFolders::Chosen(const char* variable, const char* underHome) {
    std::string folder = Environment(variable);
    return folder.empty() ? Home() + underHome : folder;
}

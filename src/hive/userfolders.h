#pragma once

#include <string>

// The folders where a program keeps a user's files: $XDG_DATA_HOME and $XDG_CACHE_HOME, or
// their defaults under the home folder when the variables are unset or empty.
class CUserFolders {
public:
    static std::string Data();
    static std::string Cache();

private:
    static std::string Environment(const char* name);
    static std::string Home();
    static std::string Chosen(const char* variable, const char* underHome);
};

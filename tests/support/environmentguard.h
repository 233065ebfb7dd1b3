#pragma once

#include <optional>
#include <string>

// One environment variable set or unset for the length of a test, and put back afterwards.
class CEnvironmentGuard {
public:
    explicit CEnvironmentGuard(const char* name);
    ~CEnvironmentGuard();
    CEnvironmentGuard(const CEnvironmentGuard&) = delete;
    CEnvironmentGuard& operator=(const CEnvironmentGuard&) = delete;

    // nullptr unsets it.
    void Set(const char* value);

private:
    const char* m_name;
    std::optional<std::string> m_saved;
};

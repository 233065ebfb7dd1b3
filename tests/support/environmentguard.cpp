#include "environmentguard.h"

#include <cstdlib>

CEnvironmentGuard::CEnvironmentGuard(const char* name) : m_name(name) {
    if (const char* value = std::getenv(name)) {
        m_saved = value;
    }
}

CEnvironmentGuard::~CEnvironmentGuard() {
    Set(m_saved ? m_saved->c_str() : nullptr);
}

void CEnvironmentGuard::Set(const char* value) {
    if (value != nullptr) {
        setenv(m_name, value, 1);
    } else {
        unsetenv(m_name);
    }
}

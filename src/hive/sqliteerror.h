#pragma once

#include <stdexcept>
#include <string>

// An SQLite call failed. Raised inside the hive only: the operations that run SQL turn it into
// ERROR_REGISTRY_IO_FAILED, and opening a file turns it into a CHiveError.
class CSqliteError : public std::runtime_error {
public:
    CSqliteError(int code, const std::string& message)
        : std::runtime_error(message), m_nCode(code) {}
    int Code() const { return m_nCode; }

private:
    int m_nCode;
};

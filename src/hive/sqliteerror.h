#pragma once

#include <stdexcept>
#include <string>

// An SQLite call failed. Raised inside the hive only: the operations that run SQL turn it into
// ERROR_REGISTRY_IO_FAILED, and opening a file turns it into a CHiveError.
class CSqliteError : public std::runtime_error {
public:
    // systemError: the operating system's errno behind the failure, 0 when there is none.
    CSqliteError(int code, const std::string& message, int systemError = 0)
        : std::runtime_error(message), m_nCode(code), m_nSystemError(systemError) {}
    int Code() const { return m_nCode; }
    int SystemError() const { return m_nSystemError; }

private:
    int m_nCode;
    int m_nSystemError;
};

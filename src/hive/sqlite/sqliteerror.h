#pragma once

#include "iregistrystore.h"

#include <string>

// An SQLite call failed. Raised inside the hive only: the operations that run SQL turn it into
// ERROR_REGISTRY_IO_FAILED, and opening a file turns it into a CHiveError.
class CSqliteError : public CRegistryStoreError {
public:
    // systemError: the operating system's errno behind the failure, 0 when there is none.
    CSqliteError(int code, const std::string& message, int systemError = 0)
        : CRegistryStoreError(message, systemError), m_nCode(code) {}
    int Code() const { return m_nCode; }
    std::string Reason() const override;

private:
    int m_nCode;
};

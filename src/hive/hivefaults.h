#pragma once

#include "hive.h"

#include <string>
#include <vector>

// The injected failures of one hive. Checking costs one test while none is set.
class CHiveFaults {
public:
    void Add(ERegOp op, const std::string& keyPath, const std::string& valueName,
             Win32Status status, bool once);
    void Clear() { m_faults.clear(); }
    bool Empty() const { return m_faults.empty(); }

    // The status of the first fault matching the operation (a one-time fault is used up), or
    // ERROR_SUCCESS.
    Win32Status Check(ERegOp op, const std::string& keyPath, const std::string& valueName) {
        return m_faults.empty() ? ERROR_SUCCESS : Match(op, keyPath, valueName);
    }

private:
    struct SFault {
        ERegOp op;
        std::string keyPath;   // folded
        std::string valueName; // folded; empty matches every value
        Win32Status status;
        bool once;
    };
    Win32Status Match(ERegOp op, const std::string& keyPath, const std::string& valueName);
    std::vector<SFault> m_faults;
};

#include "hivefaults.h"

#include "hivepath.h"

namespace {
bool NamesValue(ERegOp op) {
    return op == ERegOp::ReadValue || op == ERegOp::WriteValue;
}
} // namespace

void CHiveFaults::Add(ERegOp op, const std::string& keyPath, const std::string& valueName,
                      Win32Status status, bool once) {
    m_faults.push_back({op, CHivePath::Fold(keyPath),
                        NamesValue(op) ? CHivePath::Fold(valueName) : std::string(), status, once});
}

Win32Status CHiveFaults::Match(ERegOp op, const std::string& keyPath,
                               const std::string& valueName) {
    std::string path = CHivePath::Fold(keyPath);
    for (auto fault = m_faults.begin(); fault != m_faults.end(); ++fault) {
        if (fault->op != op || fault->keyPath != path) {
            continue;
        }
        if (!fault->valueName.empty() && fault->valueName != CHivePath::Fold(valueName)) {
            continue;
        }
        Win32Status status = fault->status;
        if (fault->once) {
            m_faults.erase(fault);
        }
        return status;
    }
    return ERROR_SUCCESS;
}

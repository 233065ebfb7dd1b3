#include "checkfinding.h"

#include <tuple>

const char* CheckCodeName(ECheckCode code) {
    switch (code) {
    case ECheckCode::ValueInvalid:
        return "value-invalid";
    case ECheckCode::IoOverlap:
        return "io-overlap";
    case ECheckCode::IoAlias:
        return "io-alias";
    case ECheckCode::IoSystem:
        return "io-system";
    case ECheckCode::IoLegacy:
        return "io-legacy";
    case ECheckCode::IrqBoards:
        return "irq-boards";
    case ECheckCode::IrqUnshared:
        return "irq-unshared";
    case ECheckCode::IrqSystem:
        return "irq-system";
    case ECheckCode::IrqLegacy:
        return "irq-legacy";
    case ECheckCode::ComDuplicate:
        return "com-duplicate";
    case ECheckCode::ComTaken:
        return "com-taken";
    case ECheckCode::ComHigh:
        return "com-high";
    case ECheckCode::SystemUnread:
        return "system-unread";
    case ECheckCode::LineInvalid:
        return "line-invalid";
    case ECheckCode::LineTaken:
        return "line-taken";
    case ECheckCode::LineKernel:
        return "line-kernel";
    case ECheckCode::Lockdown:
        return "lockdown";
    case ECheckCode::VectorUnused:
        return "vector-unused";
    }
    return "";
}

const char* CheckSeverityName(ECheckSeverity severity) {
    switch (severity) {
    case ECheckSeverity::Error:
        return "error";
    case ECheckSeverity::Warning:
        return "warning";
    case ECheckSeverity::Information:
        break;
    }
    return "information";
}

ECheckSeverity SeverityOf(ECheckCode code) {
    switch (code) {
    case ECheckCode::IoLegacy:
    case ECheckCode::IrqLegacy:
    case ECheckCode::ComHigh:
    case ECheckCode::SystemUnread:
    case ECheckCode::LineKernel:
        return ECheckSeverity::Warning;
    case ECheckCode::VectorUnused:
        return ECheckSeverity::Information;
    default:
        return ECheckSeverity::Error;
    }
}

bool FindingPrecedes(const SCheckFinding& a, const SCheckFinding& b) {
    return std::tie(a.severity, a.code, a.items, a.message) <
           std::tie(b.severity, b.code, b.items, b.message);
}

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
    }
    return "";
}

const char* CheckSeverityName(ECheckSeverity severity) {
    return severity == ECheckSeverity::Error ? "error" : "warning";
}

ECheckSeverity SeverityOf(ECheckCode code) {
    switch (code) {
    case ECheckCode::IoLegacy:
    case ECheckCode::IrqLegacy:
    case ECheckCode::ComHigh:
    case ECheckCode::SystemUnread:
        return ECheckSeverity::Warning;
    default:
        return ECheckSeverity::Error;
    }
}

bool FindingPrecedes(const SCheckFinding& a, const SCheckFinding& b) {
    return std::tie(a.severity, a.code, a.items, a.message) <
           std::tie(b.severity, b.code, b.items, b.message);
}

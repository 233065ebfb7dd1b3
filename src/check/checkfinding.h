#pragma once

#include <string>
#include <vector>

enum class ECheckSeverity { Error, Warning, Information };

// The problems the resource check finds, in the order findings of one severity are listed.
enum class ECheckCode {
    ValueInvalid,
    IoOverlap,
    IoAlias,
    IoSystem,
    IoLegacy,
    IrqBoards,
    IrqUnshared,
    IrqSystem,
    IrqLegacy,
    ComDuplicate,
    ComTaken,
    ComHigh,
    SystemUnread,
    LineInvalid,
    LineTaken,
    LineKernel,
    Lockdown,
    VectorUnused,
};

// One problem: what it is, the keys it involves (paths under HKEY_LOCAL_MACHINE, the first one
// the item to show first) and a sentence for a person. Texts are the registry's Latin-1 bytes.
struct SCheckFinding {
    ECheckSeverity severity = ECheckSeverity::Error;
    ECheckCode code = ECheckCode::ValueInvalid;
    std::vector<std::string> items;
    std::string message;
    bool operator==(const SCheckFinding&) const = default;
};

// "value-invalid", "io-overlap", ...
const char* CheckCodeName(ECheckCode code);
// "error", "warning" or "information".
const char* CheckSeverityName(ECheckSeverity severity);
ECheckSeverity SeverityOf(ECheckCode code);

// Errors before warnings, then by code, then by items and message, so that the same
// configuration always gives the same list.
bool FindingPrecedes(const SCheckFinding& a, const SCheckFinding& b);

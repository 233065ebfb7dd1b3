#pragma once

#include <string>

// The exit statuses of qserctl, as scripts test them.
enum class ECliExit {
    Success = 0,
    Failed = 1,   // an error message was shown, or the command itself failed
    Refused = 2,  // a usage error, an unknown board, port or key, or a refused pick
    Declined = 3, // a confirmation was answered No, so nothing was done
    Problems = 4, // the resource check found errors
    Changed = 5,  // diff found differences; apply --detailed-exitcode changed (or would change)
};

// How a command ended. A refused or failed command keeps nothing; its reason (when it has one
// beyond the message boxes already shown) goes to standard error. The output goes to standard
// output when the command succeeded, or when it failed after doing what it could (Partial).
struct SCliResult {
    ECliExit status = ECliExit::Success;
    std::string reason;
    std::string output;
    // false: the command succeeded but its batch keeps nothing (nothing to change, or a change
    // the resource check held back).
    bool bKeep = true;

    static SCliResult Output(std::string text) { return {ECliExit::Success, {}, std::move(text)}; }
    static SCliResult Refuse(std::string reason) {
        return {ECliExit::Refused, std::move(reason), {}};
    }
    static SCliResult Fail(std::string reason = {}) {
        return {ECliExit::Failed, std::move(reason), {}};
    }
    static SCliResult Partial(std::string text, std::string reason) {
        return {ECliExit::Failed, std::move(reason), std::move(text)};
    }
};

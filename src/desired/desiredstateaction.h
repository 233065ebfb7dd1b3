#pragma once

#include "checkfinding.h"
#include "configurationdiff.h"
#include "processscope.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

// What the machine needs before a change of the configuration works.
enum class ERestart { None, Service, Windows };

struct SApplyOptions {
    // Everything is done and told, Save included; the caller keeps nothing, and the notices of
    // Save and close are not shown.
    bool bDryRun = false;
    // Errors of the resource check on the result do not hold the change back.
    bool bAllowProblems = false;
    // The session is left as the window leaves it after a command, without Save and the close
    // sequence: the window registers the ports and restarts the service when it closes.
    bool bLeaveOpen = false;
};

// How one apply went. The caller keeps the user action's changes only when Keep() says so.
struct SApplyReport {
    // The load of the registry failed; its message has been shown.
    bool bLoadFailed = false;
    // Values, boards or ports no command could reach: nothing may be kept.
    std::optional<std::string> refusal;
    std::vector<SConfigurationDifference> plan;
    std::vector<SCheckFinding> findings;
    // The resource check found errors in the result and the change was held back.
    bool bHeldBack = false;
    // The registry changed (in a dry run: would change).
    bool bChanged = false;
    nlohmann::ordered_json registryChanges = nlohmann::ordered_json::array();
    std::vector<std::string> registryLines;
    ERestart restart = ERestart::None;

    bool Keep() const { return bChanged && !bLoadFailed && !refusal && !bHeldBack; }
};

// One apply of a stated configuration, as one user action that the caller opens and commits:
// a session of the utility on the environment's registry loads it as at start-up, the applier
// brings it to the stated configuration, the resource check runs on the result with the
// machine's own ports, and the session ends as the window's close does (Save, then the serial
// service restart or the Windows 95/98 notice) unless it is left open. Questions are answered
// Yes; the other message boxes reach the environment's.
class CDesiredStateAction {
public:
    static SApplyReport Run(const SProcessReferences& environment,
                            const nlohmann::ordered_json& desired, const SApplyOptions& options);
    static const char* RestartName(ERestart restart);
};

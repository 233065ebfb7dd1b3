#pragma once

#include "checkfinding.h"
#include "checkfixes.h"
#include "iclicommandgroup.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// check [--json] [--fix [--dry-run]]: the resource check of the configuration in the driver key
// and of the system's own port entries. Without --fix it only reads (the batch is always rolled
// back); it never creates the hive file. --fix first makes every fix the window's Problems list
// offers, as the window makes them, all in one batch that the session's close ends (--dry-run
// rolls it back), and prints each fix before the findings that remain. Exit status 0 without
// errors (warnings allowed), ECliExit::Problems with.
class CCheckCommand : public ICliCommandGroup {
public:
    void Register(CLI::App& app) override;
    bool Parsed() const override;
    EHiveOpen OpenMode() const override { return EHiveOpen::MustExist; }
    bool Writes() const override { return m_bFix && !m_bDryRun; }
    ECliExit Run(CCliEnvironment& environment) override;

    // {"findings": [{"severity", "code", "items", "message"}], "errors": N, "warnings": N}.
    static nlohmann::ordered_json Json(const std::vector<SCheckFinding>& findings);
    // "fixed: LABEL" a line (with dryRun "would fix: LABEL").
    static std::string FixesText(const std::vector<SCheckFix>& fixes, bool dryRun);

private:
    CLI::App* m_pCheck = nullptr;
    bool m_bJson = false;
    bool m_bFix = false;
    bool m_bDryRun = false;

    ECliExit RunFixes(CCliEnvironment& environment);
};

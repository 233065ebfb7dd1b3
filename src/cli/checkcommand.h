#pragma once

#include "checkfinding.h"
#include "iclicommandgroup.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// check [--json]: the resource check of the configuration in the driver key and of the
// system's own port entries. It only reads (the batch is always rolled back) and never creates
// the hive file. Exit status 0 without errors (warnings allowed), ECliExit::Problems with.
class CCheckCommand : public ICliCommandGroup {
public:
    void Register(CLI::App& app) override;
    bool Parsed() const override;
    EHiveOpen OpenMode() const override { return EHiveOpen::MustExist; }
    bool Writes() const override { return false; }
    ECliExit Run(CCliEnvironment& environment) override;

    // {"findings": [{"severity", "code", "items", "message"}], "errors": N, "warnings": N}.
    static nlohmann::ordered_json Json(const std::vector<SCheckFinding>& findings);

private:
    CLI::App* m_pCheck = nullptr;
    bool m_bJson = false;
};

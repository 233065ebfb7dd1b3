#pragma once

#include "iclicommandgroup.h"

#include <nlohmann/json.hpp>
#include <string>

struct SApplyReport;

// diff A B: the differences between two configurations, each read from any source (exit 5 when
// they differ); apply SOURCE: the registry brought to SOURCE's configuration as one user action
// through the commands a person uses, with the plan, the registry's changes, the resource
// check's findings and the restart the machine needs.
class CDesiredStateCommands : public ICliCommandGroup {
public:
    void Register(CLI::App& app) override;
    bool Parsed() const override;
    EHiveOpen OpenMode() const override {
        return m_bDryRun ? EHiveOpen::ForReading : EHiveOpen::CreateIfMissing;
    }
    bool Writes() const override;
    ECliExit Run(CCliEnvironment& environment) override;
    bool UsesRegistry(EPlatformFamily family) const override;
    ECliExit RunAlone(const SCliPlatform& platform, std::ostream& out, std::ostream& err) override;

private:
    std::string ApplyText(const SApplyReport& report) const;
    nlohmann::ordered_json ApplyJson(const SApplyReport& report) const;

    CLI::App* m_pDiff = nullptr;
    CLI::App* m_pApply = nullptr;
    std::string m_from;
    std::string m_to;
    std::string m_source;
    bool m_bJson = false;
    bool m_bAll = false;
    bool m_bDryRun = false;
    bool m_bDetailedExitCode = false;
    bool m_bAllowProblems = false;
};

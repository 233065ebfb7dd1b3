#pragma once

#include "iclicommandgroup.h"

// show [--json]: the configuration as the document holds it right after the load at start-up.
// The session runs in a batch that is always rolled back, and never creates the hive file.
class CShowCommand : public ICliCommandGroup {
public:
    void Register(CLI::App& app) override;
    bool Parsed() const override;
    EHiveOpen OpenMode() const override { return EHiveOpen::ForReading; }
    bool Writes() const override { return false; }
    ECliExit Run(CCliEnvironment& environment) override;

private:
    CLI::App* m_pShow = nullptr;
    bool m_bJson = false;
};

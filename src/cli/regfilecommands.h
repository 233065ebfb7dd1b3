#pragma once

#include "iclicommandgroup.h"

#include <string>

// export [KEY] [-o FILE] and import [--dry-run] FILE: the hive as REGEDIT4 text and back.
// Neither loads the document, so both work on a hive whose driver key is damaged. Export only
// reads (and never creates the hive file); an import is applied whole or not at all and says
// what it changed, on standard error (a dry run: on standard output, and keeps nothing).
class CRegFileCommands : public ICliCommandGroup {
public:
    void Register(CLI::App& app) override;
    bool Parsed() const override;
    EHiveOpen OpenMode() const override;
    bool Writes() const override;
    ECliExit Run(CCliEnvironment& environment) override;

    // KEY with or without the HKEY_LOCAL_MACHINE\ prefix (any case), as a path below it.
    static std::string KeyPath(const std::string& key);

private:
    SCliResult Export(CHive& hive) const;
    SCliResult Import(CHive& hive) const;

    CLI::App* m_pExport = nullptr;
    CLI::App* m_pImport = nullptr;
    std::string m_key;
    std::string m_outputFile;
    std::string m_inputFile;
    bool m_bDryRun = false;
};

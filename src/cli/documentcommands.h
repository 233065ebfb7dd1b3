#pragma once

#include "iclicommandgroup.h"

#include <string>
#include <vector>

namespace CLI {
class App;
} // namespace CLI

class CHeadlessSession;

// The commands that edit the configuration through the document, the headless tree and the
// forms: add-board, add-port, set, delete and new end with the close sequence of the window;
// save runs Save's registration and report whatever the changed flag says.
class CDocumentCommands : public ICliCommandGroup {
public:
    void Register(CLI::App& app) override;
    bool Parsed() const override;
    EHiveOpen OpenMode() const override { return EHiveOpen::CreateIfMissing; }
    bool Writes() const override { return true; }
    ECliExit Run(CCliEnvironment& environment) override;

private:
    SCliResult AddBoard(CHeadlessSession& session) const;
    SCliResult AddPort(CHeadlessSession& session) const;
    SCliResult Set(CHeadlessSession& session) const;
    SCliResult Delete(CHeadlessSession& session) const;
    static SCliResult New(CHeadlessSession& session);
    static SCliResult Save(CHeadlessSession& session);
    static SCliResult UnknownItem(const std::string& path);

    CLI::App* m_pAddBoard = nullptr;
    CLI::App* m_pAddPort = nullptr;
    CLI::App* m_pSet = nullptr;
    CLI::App* m_pDelete = nullptr;
    CLI::App* m_pNew = nullptr;
    CLI::App* m_pSave = nullptr;
    std::string m_item;
    std::vector<std::string> m_picks;
};

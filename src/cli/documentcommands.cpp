#include "documentcommands.h"

#include "boardobj.h"
#include "clisession.h"
#include "formpicker.h"
#include "headlesssession.h"
#include "portobj.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <optional>

namespace {
constexpr const char* kPicksHelp =
    "field picks: the registry value name of the field (any case) and a value its list offers; "
    "check boxes take 0/1 or off/on";
} // namespace

void CDocumentCommands::Register(CLI::App& app) {
    m_pAddBoard = app.add_subcommand("add-board", "Add Board, then the given picks on the new "
                                                  "board's form; prints the new board's name");
    m_pAddBoard->add_option("NAME=VALUE", m_picks, kPicksHelp);

    m_pAddPort = app.add_subcommand(
        "add-port", "Select BOARD, then Add Port; prints the new ports' names, one a line");
    m_pAddPort->add_option("BOARD", m_item, "a board's key name, e.g. Board003")->required();

    m_pSet = app.add_subcommand(
        "set", "Select the board or port, then pick each value in its form, in order");
    m_pSet->add_option("ITEM", m_item, "BOARD or BOARD/PORT, e.g. Board003/Port001")->required();
    m_pSet->add_option("NAME=VALUE", m_picks, kPicksHelp)->required();

    m_pDelete = app.add_subcommand("delete", "Select the board or port, then Delete");
    m_pDelete->add_option("ITEM", m_item, "BOARD or BOARD/PORT")->required();

    m_pNew = app.add_subcommand("new", "New: delete every board");
    m_pSave = app.add_subcommand(
        "save", "Run Save's port registration and report, whatever the changed flag says");
}

bool CDocumentCommands::Parsed() const {
    const CLI::App* commands[] = {m_pAddBoard, m_pAddPort, m_pSet, m_pDelete, m_pNew, m_pSave};
    return std::any_of(std::begin(commands), std::end(commands),
                       [](const CLI::App* command) { return command->parsed(); });
}

ECliExit CDocumentCommands::Run(CCliEnvironment& environment) {
    auto run = [&environment](ESessionEnd end, const CCliSession::Command& command) {
        return CCliSession::Run(environment, EBatchEnd::Keep, end, command);
    };
    if (m_pSave->parsed()) {
        return run(ESessionEnd::Leave, &CDocumentCommands::Save);
    }
    if (m_pNew->parsed()) {
        return run(ESessionEnd::Close, &CDocumentCommands::New);
    }
    return run(ESessionEnd::Close, [this](CHeadlessSession& session) {
        if (m_pAddBoard->parsed()) {
            return AddBoard(session);
        }
        if (m_pAddPort->parsed()) {
            return AddPort(session);
        }
        return m_pSet->parsed() ? Set(session) : Delete(session);
    });
}

SCliResult CDocumentCommands::UnknownItem(const std::string& path) {
    return SCliResult::Refuse("there is no board or port " + path);
}

SCliResult CDocumentCommands::AddBoard(CHeadlessSession& session) const {
    CQSERDoc& doc = session.Doc();
    std::size_t before = doc.m_boardList.size();
    doc.OnAddBoard();
    // The refusal ("Unable to add board object!") has been shown.
    if (doc.m_boardList.size() == before) {
        return SCliResult::Fail();
    }
    std::string name = doc.m_pCurBoard->GetBoardName();
    if (std::optional<std::string> refusal = CFormPicker(session).PickAll(m_picks)) {
        return SCliResult::Refuse(*refusal);
    }
    return SCliResult::Output(name + "\n");
}

SCliResult CDocumentCommands::AddPort(CHeadlessSession& session) const {
    CQSERDoc& doc = session.Doc();
    if (!session.Select(m_item) || doc.m_selectionKind != CQSERDoc::kSelectionBoard) {
        return SCliResult::Refuse("there is no board " + m_item);
    }
    CBoardObj* board = doc.m_pCurBoard;
    if (doc.m_bCanAddPort == 0) {
        return SCliResult::Refuse("Add Port is not available: " + m_item +
                                  " has all the ports its model takes");
    }
    std::vector<CPortObj*> before = board->m_PortList;
    doc.OnAddPort();
    std::string names;
    for (const CPortObj* port : board->m_PortList) {
        if (std::find(before.begin(), before.end(), port) == before.end()) {
            names += port->GetPortName() + "\n";
        }
    }
    // No port came: the refusal has been shown.
    return names.empty() ? SCliResult::Fail() : SCliResult::Output(names);
}

SCliResult CDocumentCommands::Set(CHeadlessSession& session) const {
    if (!session.Select(m_item)) {
        return UnknownItem(m_item);
    }
    std::optional<std::string> refusal = CFormPicker(session).PickAll(m_picks);
    return refusal ? SCliResult::Refuse(*refusal) : SCliResult{};
}

SCliResult CDocumentCommands::Delete(CHeadlessSession& session) const {
    if (!session.Select(m_item)) {
        return UnknownItem(m_item);
    }
    session.Doc().OnDelete();
    return {};
}

SCliResult CDocumentCommands::New(CHeadlessSession& session) {
    session.Doc().OnFileNew();
    return {};
}

SCliResult CDocumentCommands::Save(CHeadlessSession& session) {
    session.Doc().SaveConfiguration();
    return {};
}

#include "actionscript.h"

#include "boardobj.h"
#include "boardtype.h"
#include "formpicker.h"
#include "portobj.h"
#include "registrydump.h"

#include <random>
#include <stdexcept>

namespace {
std::unique_ptr<CHarnessSession> Started(const std::string& file, EPlatformFamily family) {
    auto session = std::make_unique<CHarnessSession>(file, family);
    if (!session->Start()) {
        throw std::runtime_error("harness: the configuration does not load");
    }
    return session;
}

std::string Word(const std::string& step, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index && start != std::string::npos; ++i) {
        start = step.find(' ', start);
        start = start == std::string::npos ? start : start + 1;
    }
    if (start == std::string::npos) {
        return {};
    }
    return step.substr(start, step.find(' ', start) - start);
}

template <typename T> const T& AnyOf(const std::vector<T>& items, std::uint32_t roll) {
    return items[roll % items.size()];
}
} // namespace

void CActionScript::Apply(std::unique_ptr<CHarnessSession>& session, const std::string& file,
                          EPlatformFamily family, const std::string& step) {
    if (!session) {
        session = Started(file, family);
    }
    const std::string verb = Word(step, 0);
    const std::string item = Word(step, 1);
    if (verb == "add-board") {
        session->Run(&CQSERDoc::OnAddBoard);
    } else if (verb == "add-port") {
        session->Select(item);
        session->Run(&CQSERDoc::OnAddPort);
    } else if (verb == "pick") {
        session->Select(item);
        session->Pick(Word(step, 2));
    } else if (verb == "delete") {
        session->Select(item);
        session->Run(&CQSERDoc::OnDelete);
    } else if (verb == "new") {
        session->Run(&CQSERDoc::OnFileNew);
    } else if (verb == "save") {
        session->Run(&CQSERDoc::OnFileSave);
    } else if (verb == "import") {
        session->Import(item);
        session.reset();
    } else if (verb == "apply") {
        session->Apply(item);
        session.reset();
    } else if (verb == "close") {
        session->Close();
        session.reset();
    } else {
        throw std::runtime_error("harness: no step " + step);
    }
    if (!session) {
        session = Started(file, family);
    }
}

// Mostly picks, which are most of what people do; adds and deletes keep the number of boards
// moving; save, close, import, apply and New now and then.
std::string CActionScript::Choose(CHarnessSession& session, std::uint32_t roll,
                                  const std::string& importFile) {
    CQSERDoc& doc = session.Doc();
    std::vector<std::string> boards;
    std::vector<std::string> ports;
    for (const CBoardObj* board : doc.m_boardList) {
        boards.push_back(board->GetBoardName());
        for (const CPortObj* port : board->m_PortList) {
            ports.push_back(board->GetBoardName() + "/" + port->GetPortName());
        }
    }
    std::uint32_t kind = roll % 40;
    roll /= 40;
    if (boards.empty() || (kind < 4 && boards.size() < 6)) {
        return "add-board";
    }
    if (kind < 8) {
        return "add-port " + AnyOf(boards, roll);
    }
    if (kind < 9) {
        return "delete " + AnyOf(boards, roll);
    }
    if (kind < 11 && !ports.empty()) {
        return "delete " + AnyOf(ports, roll);
    }
    if (kind < 12) {
        return "save";
    }
    if (kind < 13) {
        return "close";
    }
    if (kind < 14 && !importFile.empty()) {
        return "import " + importFile;
    }
    if (kind < 15 && !importFile.empty()) {
        return "apply " + importFile;
    }
    if (kind < 16) {
        return "new";
    }
    const std::string item =
        kind % 2 == 0 || ports.empty() ? AnyOf(boards, roll) : AnyOf(ports, roll);
    session.Select(item);
    CFormPicker picker(session.Session());
    const std::string setting = AnyOf(picker.SettingNames(), roll / 7);
    const std::vector<std::string> offered = picker.Offered(setting);
    return offered.empty() ? "save"
                           : "pick " + item + " " + setting + "=" + AnyOf(offered, roll / 91);
}

CActionScript CActionScript::Record(const std::string& file, EPlatformFamily family,
                                    std::size_t length, std::uint32_t seed,
                                    const std::string& importFile) {
    CActionScript script;
    std::mt19937 random(seed);
    std::unique_ptr<CHarnessSession> session = Started(file, family);
    script.m_states.push_back(CRegistryDump::Dump(file));
    while (script.m_steps.size() < length) {
        std::string step = Choose(*session, static_cast<std::uint32_t>(random()), importFile);
        Apply(session, file, family, step);
        script.m_steps.push_back(step);
        script.m_states.push_back(CRegistryDump::Dump(file));
    }
    return script;
}

#include "actioncatalogue.h"

#include "boardobj.h"
#include "boardtype.h"
#include "formpicker.h"
#include "harnesssession.h"
#include "qserdoc.h"
#include "regfilewriter.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

namespace {
using Step = SHarnessAction::Step;

// A board of the model, added and given its model as a person does in the window.
void AddBoardOf(CHarnessSession& session, const std::string& model, bool withPorts) {
    session.Run(&CQSERDoc::OnAddBoard);
    session.Pick("BoardType=" + model);
    // An individually addressed model takes its ports one Add Port at a time.
    const std::string board = session.Doc().m_pCurBoard->GetBoardName();
    for (int port = 0; withPorts && port < 8; ++port) {
        session.Select(board);
        if (session.Doc().m_bCanAddPort == 0) {
            break;
        }
        session.Run(&CQSERDoc::OnAddPort);
    }
}

Step BoardStep(const std::string& model, bool withPorts) {
    return [model, withPorts](CHarnessSession& session) { AddBoardOf(session, model, withPorts); };
}

Step SelectStep(const std::string& item) {
    return [item](CHarnessSession& session) { session.Select(item); };
}

Step CommandStep(void (CQSERDoc::*command)()) {
    return [command](CHarnessSession& session) { session.Run(command); };
}

// A change left pending, as a person's last pick before Save or the close.
void PendingChange(CHarnessSession& session) {
    session.Select("Board000/Port000");
    std::vector<std::string> irqs = CFormPicker(session.Session()).Offered("PortIRQ");
    session.Pick("PortIRQ=" + irqs.back());
}
} // namespace

std::vector<std::string> CActionCatalogue::ModelGroups() {
    std::set<std::tuple<int, int, std::string, std::string, std::string, int>> seen;
    std::vector<std::string> firsts;
    for (const std::string& model : BoardTypeNames()) {
        CBoardType type(model);
        if (seen.insert({type.GetPortsPerBoard(), type.IsIndividuallyAddressed(),
                         type.GetShareIRQMode(), type.GetMinBaseAddress(),
                         type.GetMinVectorAddress(), type.SupportsStandardMode()})
                .second) {
            firsts.push_back(model);
        }
    }
    return firsts;
}

CActionCatalogue::CActionCatalogue(std::string folder, std::size_t picksPerSetting)
    : m_folder(std::move(folder)), m_picksPerSetting(picksPerSetting) {
    std::filesystem::create_directories(m_folder);
    m_actions.push_back({"add-board on empty",
                         EPlatformFamily::WindowsNT,
                         "empty",
                         [](CHarnessSession&) {},
                         {},
                         CommandStep(&CQSERDoc::OnAddBoard)});
    for (const std::string& model : ModelGroups()) {
        AddCommands(model);
    }
    for (EPlatformFamily family : {EPlatformFamily::WindowsNT, EPlatformFamily::Windows9x}) {
        AddFamilyActions(family);
    }
}

void CActionCatalogue::AddCommands(const std::string& model) {
    const SHarnessAction bare{
        "", EPlatformFamily::WindowsNT, "board " + model, BoardStep(model, false), {}, {}};
    const SHarnessAction full{
        "", EPlatformFamily::WindowsNT, "ports " + model, BoardStep(model, true), {}, {}};
    auto add = [this](std::string name, const SHarnessAction& base, const std::string& item,
                      void (CQSERDoc::*command)()) {
        m_actions.push_back({std::move(name), base.family, base.base, base.prepare,
                             item.empty() ? Step() : SelectStep(item), CommandStep(command)});
    };
    add("add-board beside " + model, full, "Board000", &CQSERDoc::OnAddBoard);
    add("add-port on " + model, bare, "Board000", &CQSERDoc::OnAddPort);
    add("delete port of " + model, full, "Board000/Port001", &CQSERDoc::OnDelete);
    add("delete board " + model, full, "Board000", &CQSERDoc::OnDelete);
    add("new over " + model, full, "", &CQSERDoc::OnFileNew);
    AddPicks(bare, "Board000");
    AddPicks(full, "Board000/Port001");
}

// Every entry each setting of the item's form offers in the starting state, but the one it
// shows (picking that writes nothing worth sweeping).
void CActionCatalogue::AddPicks(const SHarnessAction& base, const std::string& item) {
    const std::string file = m_folder + "/picks.db";
    std::filesystem::remove(file);
    CHarnessSession session(file, base.family);
    session.Start();
    base.prepare(session);
    session.Select(item);
    CFormPicker picker(session.Session());
    for (const std::string& setting : picker.SettingNames()) {
        std::size_t tried = 0;
        for (const std::string& value : picker.Offered(setting)) {
            if (m_picksPerSetting != 0 && tried == m_picksPerSetting) {
                break;
            }
            ++tried;
            const std::string pick = setting + "=" + value;
            m_actions.push_back({"pick " + item + " " + pick + " on " + base.base, base.family,
                                 base.base, base.prepare, SelectStep(item),
                                 [pick](CHarnessSession& s) { s.Pick(pick); }});
        }
    }
}

void CActionCatalogue::AddFamilyActions(EPlatformFamily family) {
    const std::string model = ModelGroups().front();
    const std::string suffix = family == EPlatformFamily::WindowsNT ? " (NT)" : " (9x)";
    const std::string base = "ports " + model + suffix;
    const std::string importFile = ImportFile();
    m_actions.push_back({"save" + suffix, family, base, BoardStep(model, true), PendingChange,
                         CommandStep(&CQSERDoc::OnFileSave)});
    m_actions.push_back({"close" + suffix, family, base, BoardStep(model, true), PendingChange,
                         [](CHarnessSession& session) { session.Close(); }});
    m_actions.push_back({"import .reg" + suffix,
                         family,
                         base,
                         BoardStep(model, true),
                         {},
                         [importFile](CHarnessSession& session) { session.Import(importFile); }});
    m_actions.push_back({"apply .reg" + suffix,
                         family,
                         base,
                         BoardStep(model, true),
                         {},
                         [importFile](CHarnessSession& session) { session.Apply(importFile); }});
}

// The export of a configuration of two boards with ports, to import over another one.
std::string CActionCatalogue::ImportFile() {
    const std::string file = m_folder + "/import.reg";
    if (std::filesystem::exists(file)) {
        return file;
    }
    const std::string hive = m_folder + "/import.db";
    std::filesystem::remove(hive);
    CHarnessSession session(hive, EPlatformFamily::WindowsNT);
    session.Start();
    for (const std::string& model : ModelGroups()) {
        AddBoardOf(session, model, true);
    }
    std::string text;
    CRegFileWriter(session.Hive()).Write("", text);
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

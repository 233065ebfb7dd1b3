#include "fuzzactions.h"

#include "boardobj.h"
#include "formpicker.h"
#include "harnesssession.h"
#include "portobj.h"
#include "useraction.h"
#include "writecheck.h"

#include <string>
#include <vector>

namespace {
std::vector<std::string> Items(CQSERDoc& doc) {
    std::vector<std::string> items;
    for (const CBoardObj* board : doc.m_boardList) {
        items.push_back(board->GetBoardName());
        for (const CPortObj* port : board->m_PortList) {
            items.push_back(board->GetBoardName() + "/" + port->GetPortName());
        }
    }
    return items;
}
} // namespace

// One setting's pick on each item the tree shows, the entry chosen by the input.
void CFuzzActions::PickEverything(CHarnessSession& session, FuzzedDataProvider& data) {
    for (const std::string& item : Items(session.Doc())) {
        if (!session.Session().Select(item)) {
            continue;
        }
        CFormPicker picker(session.Session());
        for (const std::string& setting : picker.SettingNames()) {
            std::vector<std::string> offered = picker.Offered(setting);
            if (!offered.empty()) {
                std::size_t entry = data.ConsumeIntegralInRange<std::size_t>(0, offered.size() - 1);
                picker.PickAll({setting + "=" + offered[entry]});
            }
        }
    }
}

void CFuzzActions::SelectAny(CHarnessSession& session, bool port) {
    for (const std::string& item : Items(session.Doc())) {
        if ((item.find('/') != std::string::npos) == port) {
            session.Session().Select(item);
            return;
        }
    }
}

void CFuzzActions::RunEverything(CHarnessSession& session, FuzzedDataProvider& data,
                                 CWriteCheck& check) {
    CQSERDoc& doc = session.Doc();
    check.Allow(doc);
    PickEverything(session, data);
    check.Allow(doc);
    session.Run(&CQSERDoc::OnAddBoard);
    check.Allow(doc);
    SelectAny(session, false);
    session.Run(&CQSERDoc::OnAddPort);
    check.Allow(doc);
    session.Run(&CQSERDoc::OnFileSave);
    CUserAction::Run([&doc] { doc.SaveConfiguration(); });
    session.Close();
    SelectAny(session, true);
    session.Run(&CQSERDoc::OnDelete);
    check.Allow(doc);
    SelectAny(session, false);
    session.Run(&CQSERDoc::OnDelete);
    check.Allow(doc);
    session.Run(&CQSERDoc::OnFileNew);
}

#include "harnesssession.h"

#include "closesequence.h"
#include "configurationsource.h"
#include "desiredstateaction.h"
#include "formpicker.h"
#include "messageservice.h"
#include "regfileimporter.h"
#include "useraction.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

CHarnessSession::CHarnessSession(const std::string& path, EPlatformFamily family)
    : CHarnessSession(CHive::Open(path), family) {}

CHarnessSession::CHarnessSession(std::unique_ptr<CHive> owned, EPlatformFamily family)
    : m_pOwnedHive(std::move(owned)), m_hive(*m_pOwnedHive), m_serviceManager(m_hive) {
    StartSession(family);
}

CHarnessSession::CHarnessSession(CHive& hive, EPlatformFamily family)
    : m_hive(hive), m_serviceManager(m_hive) {
    StartSession(family);
}

void CHarnessSession::StartSession(EPlatformFamily family) {
    m_family = family;
    m_messages.SetDefaultAnswer(EMsgResult::Yes);
    m_session.emplace(References());
}

SProcessReferences CHarnessSession::References() {
    return {.hive = &m_hive,
            .messageBox = &m_messages,
            .serviceControlManager = &m_serviceManager,
            .platformFamily = m_family};
}

void CHarnessSession::Run(void (CQSERDoc::*command)()) {
    CQSERDoc& doc = Doc();
    CUserAction::Run([&doc, command] { (doc.*command)(); });
}

void CHarnessSession::Select(const std::string& item) {
    if (!m_session->Select(item)) {
        throw std::runtime_error("harness: there is no item " + item);
    }
}

void CHarnessSession::Pick(const std::string& pick) {
    CFormPicker(*m_session).PickAll({pick});
}

void CHarnessSession::Import(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    CRegFileImporter importer(m_hive);
    // File Open runs the importer's own batch, not a user action around it.
    if (!importer.Import("import.reg", bytes)) {
        CMessageService::Error(importer.Error());
    }
}

void CHarnessSession::Apply(const std::string& source) {
    const nlohmann::ordered_json desired = CConfigurationSource::Read(source, m_family);
    CUserAction action(&m_hive);
    if (CDesiredStateAction::Run(References(), desired, {.bAllowProblems = true}).Keep()) {
        action.Commit();
    }
}

void CHarnessSession::Close() {
    CQSERDoc* doc = &Doc();
    CUserAction::Run([doc] { CCloseSequence::Run(doc); });
}

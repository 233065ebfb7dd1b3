#include "harnesssession.h"

CHarnessSession::CHarnessSession(const std::string& path, EPlatformFamily family)
    : m_pHive(CHive::Open(path)), m_serviceManager(*m_pHive) {
    m_messages.SetDefaultAnswer(EMsgResult::Yes);
    m_session.emplace(SProcessReferences{.hive = m_pHive.get(),
                                         .messageBox = &m_messages,
                                         .serviceControlManager = &m_serviceManager,
                                         .platformFamily = family});
}

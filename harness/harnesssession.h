#pragma once

#include "headlesssession.h"
#include "hive.h"
#include "hiveservicemanager.h"
#include "platformfamily.h"
#include "recordingmessagebox.h"

#include <memory>
#include <optional>
#include <string>

// The utility as a harness drives it: the hive file, the emulated service control manager on
// it, a message box that records every box and answers every question Yes, and the headless
// session qserctl uses, on one platform family. Everything goes, session first, on destruction.
class CHarnessSession {
public:
    // Throws CHiveError when the file cannot be used.
    CHarnessSession(const std::string& path, EPlatformFamily family);
    CHarnessSession(const CHarnessSession&) = delete;
    CHarnessSession& operator=(const CHarnessSession&) = delete;

    // Loads the configuration as start-up does; false when the load showed a failure.
    bool Start() { return m_session->Start(); }

    CHive& Hive() { return *m_pHive; }
    CHeadlessSession& Session() { return *m_session; }
    CQSERDoc& Doc() { return m_session->Doc(); }
    CRecordingMessageBox& Messages() { return m_messages; }

private:
    std::unique_ptr<CHive> m_pHive;
    CHiveServiceManager m_serviceManager;
    CRecordingMessageBox m_messages;
    std::optional<CHeadlessSession> m_session;
};

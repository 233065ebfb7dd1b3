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
    // On a hive already open, which must outlive the session: one run of the utility after
    // another on one connection, as the fuzzer runs both families on each input.
    CHarnessSession(CHive& hive, EPlatformFamily family);
    CHarnessSession(const CHarnessSession&) = delete;
    CHarnessSession& operator=(const CHarnessSession&) = delete;

    // Loads the configuration as start-up does; false when the load showed a failure.
    bool Start() { return m_session->Start(); }

    // What a person does, each as the window does it: a command as one user action, a click
    // on a tree item (throws std::runtime_error when there is none), a pick in the selected
    // item's form (a refused pick is no error: the form has said why), File Open of a .reg
    // file with its error in a box, and the close sequence.
    void Run(void (CQSERDoc::*command)());
    void Select(const std::string& item);
    void Pick(const std::string& pick);
    void Import(const std::string& file);
    // qserctl apply of a source file: one user action, kept only when it went through whole.
    void Apply(const std::string& source);
    void Close();

    CHive& Hive() { return m_hive; }
    CHeadlessSession& Session() { return *m_session; }
    CQSERDoc& Doc() { return m_session->Doc(); }
    CRecordingMessageBox& Messages() { return m_messages; }

private:
    CHarnessSession(std::unique_ptr<CHive> owned, EPlatformFamily family);
    SProcessReferences References();
    void StartSession(EPlatformFamily family);

    std::unique_ptr<CHive> m_pOwnedHive;
    CHive& m_hive;
    CHiveServiceManager m_serviceManager;
    CRecordingMessageBox m_messages;
    EPlatformFamily m_family;
    std::optional<CHeadlessSession> m_session;
};

#pragma once

#include "hive.h"
#include "processscope.h"
#include "recordingmessagebox.h"

#include <memory>
#include <optional>
#include <string>

// Which store a test's hive lives in: our SQLite file, or the SYSTEM hive file of a Windows
// installation (it holds SYSTEM only, and SYSTEM already holds an installation's keys).
enum class ETestStore { Sqlite, WindowsHive };

// A fresh hive file in a temporary folder, installed as the current hive together with a
// recording message box, for the length of one test. Both are uninstalled and the folder is
// removed on destruction.
class CTempHive {
public:
    explicit CTempHive(ETestStore store = ETestStore::Sqlite);
    ~CTempHive();
    CTempHive(const CTempHive&) = delete;
    CTempHive& operator=(const CTempHive&) = delete;

    CHive& Hive() { return *m_pHive; }
    CRecordingMessageBox& Messages() { return m_messages; }
    ETestStore Store() const { return m_store; }
    const std::string& Folder() const { return m_folder; }
    std::string FilePath() const;
    // The file of a further hive of the same store in the folder, made on first use: name is
    // the file's name without the extension our own files have.
    std::string MakeAnother(const std::string& name) const;

private:
    ETestStore m_store;
    std::string m_folder;
    std::unique_ptr<CHive> m_pHive;
    CRecordingMessageBox m_messages;
    std::optional<CProcessScope> m_scope;
};

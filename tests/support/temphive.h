#pragma once

#include "hive.h"
#include "processscope.h"
#include "recordingmessagebox.h"

#include <memory>
#include <optional>
#include <string>

// A fresh hive file in a temporary folder, installed as the current hive together with a
// recording message box, for the length of one test. Both are uninstalled and the folder is
// removed on destruction.
class CTempHive {
public:
    CTempHive();
    ~CTempHive();
    CTempHive(const CTempHive&) = delete;
    CTempHive& operator=(const CTempHive&) = delete;

    CHive& Hive() { return *m_pHive; }
    CRecordingMessageBox& Messages() { return m_messages; }
    const std::string& Folder() const { return m_folder; }
    std::string FilePath() const { return m_folder + "/registry.db"; }

private:
    std::string m_folder;
    std::unique_ptr<CHive> m_pHive;
    CRecordingMessageBox m_messages;
    std::optional<CProcessScope> m_scope;
};

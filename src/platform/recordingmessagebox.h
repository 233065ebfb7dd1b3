#pragma once

#include "imessagebox.h"

#include <deque>
#include <string>
#include <vector>

// A message box without a user: it records every box and answers questions from a script.
// Questions beyond the script are answered with the default answer (No unless set).
class CRecordingMessageBox : public IMessageBox {
public:
    struct SRecord {
        std::string text;
        EMsgButtons buttons;
        EMsgIcon icon;
        bool operator==(const SRecord&) const = default;
    };

    EMsgResult Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) override;

    void ScriptAnswer(EMsgResult answer) { m_script.push_back(answer); }
    void SetDefaultAnswer(EMsgResult answer) { m_defaultAnswer = answer; }

    const std::vector<SRecord>& Records() const { return m_records; }
    std::vector<std::string> Texts() const;
    void Clear() { m_records.clear(); }

private:
    std::vector<SRecord> m_records;
    std::deque<EMsgResult> m_script;
    EMsgResult m_defaultAnswer = EMsgResult::No;
};

#include "recordingmessagebox.h"

EMsgResult CRecordingMessageBox::Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) {
    m_records.push_back({text, buttons, icon});
    if (buttons == EMsgButtons::Ok) {
        return EMsgResult::Ok;
    }
    if (m_script.empty()) {
        return m_defaultAnswer;
    }
    EMsgResult answer = m_script.front();
    m_script.pop_front();
    return answer;
}

std::vector<std::string> CRecordingMessageBox::Texts() const {
    std::vector<std::string> texts;
    texts.reserve(m_records.size());
    for (const SRecord& record : m_records) {
        texts.push_back(record.text);
    }
    return texts;
}

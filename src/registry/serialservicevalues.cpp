#include "serialservicevalues.h"

#include "keypaths.h"
#include "messageservice.h"
#include "messagetext.h"
#include "registry.h"
#include "registryvalues.h"
#include "stringtable.h"

CSerialServiceValues::CSerialServiceValues(CRegistry& key) : m_key(key) {
    CHive* hive = CHive::Current();
    HiveKeyId id = 0;
    if (hive != nullptr && hive->IsWindowsHiveFile() &&
        hive->FindKey(SerialServiceKeyPath(), id) == ERROR_SUCCESS) {
        m_installed = id;
    }
}

void CSerialServiceValues::Write() {
    Number(IDS_SERIAL_ERROR_CONTROL, 0);
    Number(IDS_SERIAL_FORCE_FIFO_ENABLE, 1);
    Text(IDS_SERIAL_GROUP, "Extended base");
    Number(IDS_SERIAL_RXFIFO, 8);
    Number(IDS_SERIAL_START, 2);
    Number(IDS_SERIAL_TAG, 1);
    Number(IDS_SERIAL_TXFIFO, 1);
    Number(IDS_SERIAL_TYPE, 1);
    ReportKept();
}

bool CSerialServiceValues::Kept(unsigned id) {
    if (!m_installed) {
        return false;
    }
    SHiveValue value;
    const Win32Status status = CHive::Current()->ReadValue(*m_installed, LoadString(id), value);
    if (status == ERROR_FILE_NOT_FOUND) {
        return false;
    }
    m_kept.push_back(status == ERROR_SUCCESS ? PrintableName(value.name) : LoadString(id));
    return true;
}

void CSerialServiceValues::Number(unsigned id, std::uint32_t number) {
    if (!Kept(id)) {
        WriteNumberReported(m_key, LoadString(id), number);
    }
}

void CSerialServiceValues::Text(unsigned id, const std::string& text) {
    if (!Kept(id)) {
        WriteTextReported(m_key, LoadString(id), text);
    }
}

void CSerialServiceValues::ReportKept() const {
    if (m_kept.empty()) {
        return;
    }
    const bool one = m_kept.size() == 1;
    CMessageService::Notice("This installation's Serial service already has " + JoinedList(m_kept) +
                            ": " + (one ? "it was kept as it is." : "they were kept as they are."));
}

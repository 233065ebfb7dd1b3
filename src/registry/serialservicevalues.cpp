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

bool CSerialServiceValues::Kept(unsigned id, const std::function<bool(const SHiveValue&)>& ours) {
    if (!m_installed) {
        return false;
    }
    SHiveValue value;
    const Win32Status status = CHive::Current()->ReadValue(*m_installed, LoadString(id), value);
    if (status == ERROR_FILE_NOT_FOUND) {
        return false;
    }
    if (status != ERROR_SUCCESS) {
        m_kept.push_back(LoadString(id));
    } else if (!ours(value)) {
        m_kept.push_back(PrintableName(value.name));
    }
    return true;
}

void CSerialServiceValues::Number(unsigned id, std::uint32_t number) {
    auto same = [number](const SHiveValue& value) {
        const std::vector<std::uint8_t> bytes{
            static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
        return value.type == REG_DWORD && value.data == bytes;
    };
    if (!Kept(id, same)) {
        WriteNumberReported(m_key, LoadString(id), number);
    }
}

void CSerialServiceValues::Text(unsigned id, const std::string& text) {
    auto same = [&text](const SHiveValue& value) {
        return value.type == REG_SZ && TextOf(value) == text;
    };
    if (!Kept(id, same)) {
        WriteTextReported(m_key, LoadString(id), text);
    }
}

void CSerialServiceValues::ReportKept() const {
    if (m_kept.empty()) {
        return;
    }
    const bool one = m_kept.size() == 1;
    CMessageService::Notice("This installation's Serial service has its own " + JoinedList(m_kept) +
                            ": " + (one ? "it was" : "they were") + " left as " +
                            (one ? "it is." : "they are."));
}

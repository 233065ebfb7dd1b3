#include "registry.h"

#include "hive.h"
#include "hiveimpl.h"

#include <algorithm>

CRegistry::CRegistry() : m_pHive(CHive::Current()) {}

CRegistry::CRegistry(CHive& hive) : m_pHive(&hive) {}

CRegistry::~CRegistry() = default;

Win32Status CRegistry::OpenKey(const std::string& path, const std::string& /*className*/,
                               std::uint32_t /*access*/, int flag) {
    CloseKey();
    if (m_pHive == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if ((flag != 0 && flag != 1) || path.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    HiveKeyId id = 0;
    Win32Status status = m_pHive->m_pImpl->OpenKey(path, flag == 0, id);
    if (status == ERROR_SUCCESS) {
        m_openKey = id;
        m_openPath = path;
    }
    return status;
}

void CRegistry::CloseKey() {
    m_openKey = 0;
    m_openPath.clear();
    m_bEnumValid = false;
}

bool CRegistry::IsOpen() const {
    return m_pHive != nullptr && m_openKey != 0;
}

Win32Status CRegistry::Read(const std::string& name, SHiveValue& value) {
    if (!IsOpen()) {
        return ERROR_INVALID_HANDLE;
    }
    return m_pHive->m_pImpl->ReadValue(m_openKey, &m_openPath, name, value);
}

Win32Status CRegistry::ReadValue(const std::string& name, char* buffer, std::uint32_t& size) {
    SHiveValue value;
    Win32Status status = Read(name, value);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) {
        return ERROR_INVALID_DATA;
    }
    // A text written by another tool may lack its zero or hold one early: the text ends there.
    auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
    return CopyOut(std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                    static_cast<std::size_t>(end - value.data.begin())),
                   buffer, size);
}

Win32Status CRegistry::ReadValue(const std::string& name, std::uint32_t& value) {
    SHiveValue stored;
    Win32Status status = Read(name, stored);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (stored.type != REG_DWORD || stored.data.size() != sizeof value) {
        return ERROR_INVALID_DATA;
    }
    value = std::uint32_t{stored.data[0]} | std::uint32_t{stored.data[1]} << 8 |
            std::uint32_t{stored.data[2]} << 16 | std::uint32_t{stored.data[3]} << 24;
    return ERROR_SUCCESS;
}

Win32Status CRegistry::Write(const std::string& name, std::uint32_t type,
                             const std::vector<std::uint8_t>& data) {
    if (!IsOpen()) {
        return ERROR_INVALID_HANDLE;
    }
    return m_pHive->m_pImpl->WriteValue(m_openKey, &m_openPath, name, type, data);
}

Win32Status CRegistry::WriteValue(const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return Write(name, REG_SZ, data);
}

Win32Status CRegistry::WriteValue(const std::string& name, std::uint32_t value) {
    return Write(name, REG_DWORD,
                 {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                  static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

Win32Status CRegistry::WriteValue(const std::string& name, const std::uint8_t* bytes,
                                  std::uint32_t length) {
    if (bytes == nullptr && length != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    return Write(name, REG_BINARY, std::vector<std::uint8_t>(bytes, bytes + length));
}

Win32Status CRegistry::EunmKey(std::uint32_t index, char* name, std::uint32_t& size) {
    if (!IsOpen()) {
        return ERROR_INVALID_HANDLE;
    }
    if (name == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    CHive::SImpl& hive = *m_pHive->m_pImpl;
    bool valid = m_bEnumValid && m_enumGeneration == hive.Generation();
    std::uint32_t end = m_enumFirst + static_cast<std::uint32_t>(m_enumNames.size());
    Win32Status status = ERROR_SUCCESS;
    if (valid && index >= m_enumFirst && (index < end || m_bEnumAtEnd)) {
        status = hive.Fault(ERegOp::EunmKey, m_openKey, &m_openPath, std::string());
    } else {
        status = ReadAhead(index, valid && index == end);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (index - m_enumFirst >= m_enumNames.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    return CopyOut(m_enumNames[index - m_enumFirst], name, size);
}

// Reads the names from index on: after the window's last name when the caller walks on (an
// index seek, with a window that grows), else by position.
Win32Status CRegistry::ReadAhead(std::uint32_t index, bool continuing) {
    constexpr std::size_t kFirstWindow = 16;
    constexpr std::size_t kLargestWindow = 1024;
    std::size_t limit = continuing
                            ? std::clamp(m_enumNames.size() * 2, kFirstWindow, kLargestWindow)
                            : kFirstWindow;
    std::vector<std::string> names;
    CHive::SImpl& hive = *m_pHive->m_pImpl;
    Win32Status status =
        hive.SubKeys(m_openKey, &m_openPath, index, continuing ? &m_enumNames.back() : nullptr,
                     static_cast<std::uint32_t>(limit), names);
    m_bEnumValid = status == ERROR_SUCCESS;
    if (m_bEnumValid) {
        m_bEnumAtEnd = names.size() < limit;
        m_enumNames.swap(names);
        m_enumFirst = index;
        m_enumGeneration = hive.Generation();
    }
    return status;
}

Win32Status CRegistry::CopyOut(std::string_view text, char* buffer, std::uint32_t& size) {
    if (buffer == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::uint32_t needed = static_cast<std::uint32_t>(text.size()) + 1;
    if (size < needed) {
        size = needed;
        return ERROR_MORE_DATA;
    }
    // A value without bytes comes as a view without data: nothing to copy from.
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = '\0';
    size = needed;
    return ERROR_SUCCESS;
}

Win32Status CRegistry::DeleteKey(const std::string& path) {
    return m_pHive == nullptr ? ERROR_INVALID_HANDLE : m_pHive->m_pImpl->DeleteKey(path, false);
}

Win32Status CRegistry::DeleteKeyTree(const std::string& path) {
    return m_pHive == nullptr ? ERROR_INVALID_HANDLE : m_pHive->m_pImpl->DeleteKey(path, true);
}

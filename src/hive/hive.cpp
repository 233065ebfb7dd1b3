#include "hive.h"

#include "hivefile.h"
#include "hiveimpl.h"
#include "hiveschema.h"
#include "hivexstore.h"
#include "sqliteconnection.h"
#include "sqliteerror.h"
#include "sqlitestore.h"
#include "userfolders.h"

#include <cstdlib>
#include <filesystem>

namespace {
CHive*& CurrentHive() {
    static CHive* current = nullptr;
    return current;
}

// The log files that an open made and left behind. Beside a refused file nobody uses them;
// beside a file opened for reading only the empty ones are surely nobody's.
void RemoveNewLogs(const std::string& path, bool walExisted, bool shmExisted, bool refused) {
    std::error_code ignored;
    for (const auto& [suffix, existed] : {std::pair{"-wal", walExisted}, {"-shm", shmExisted}}) {
        const std::string log = path + suffix;
        if (!existed && (refused || std::filesystem::file_size(log, ignored) == 0)) {
            std::filesystem::remove(log, ignored);
        }
    }
}
} // namespace

std::unique_ptr<CHive> CHive::Open(const std::string& path, EHiveOpen mode) {
    if (CHivexStore::IsHiveFile(path)) {
        std::string readOnlyReason;
        std::unique_ptr<IRegistryStore> store = CHivexStore::Open(path, mode, readOnlyReason);
        return std::unique_ptr<CHive>(new CHive(
            std::make_unique<SImpl>(path, std::move(store), std::move(readOnlyReason), true)));
    }
    std::error_code ignored;
    const bool walExisted = std::filesystem::exists(path + "-wal", ignored);
    const bool shmExisted = std::filesystem::exists(path + "-shm", ignored);
    try {
        SHiveConnection connection = CHiveSchema::Open(path, CHiveFile::Check(path, mode), mode);
        const bool readOnly = !connection.readOnlyReason.empty();
        auto hive = std::unique_ptr<CHive>(new CHive(std::make_unique<SImpl>(
            path, std::make_unique<CSqliteStore>(std::move(connection.pConnection)),
            std::move(connection.readOnlyReason), false)));
        if (readOnly) {
            RemoveNewLogs(path, walExisted, shmExisted, false);
        }
        return hive;
    } catch (const CHiveError&) {
        RemoveNewLogs(path, walExisted, shmExisted, true);
        throw;
    }
}

std::unique_ptr<CHive> CHive::OpenInMemory() {
    try {
        return std::unique_ptr<CHive>(new CHive(std::make_unique<SImpl>(
            kInMemoryPath, std::make_unique<CSqliteStore>(CHiveSchema::OpenInMemory()), "",
            false)));
    } catch (const CSqliteError& error) {
        throw CHiveFile::Refusal(kInMemoryPath, CHiveFile::Reason(error));
    }
}

std::string CHive::DefaultPath() {
    return CUserFolders::Data() + "/qser/registry.db";
}

std::string CHive::ResolvePath(const std::string& option) {
    if (!option.empty()) {
        return option;
    }
    const char* variable = std::getenv("QSER_REGISTRY");
    return variable == nullptr || *variable == '\0' ? DefaultPath() : variable;
}

CHive::CHive(std::unique_ptr<SImpl> impl) : m_pImpl(std::move(impl)) {}

CHive::~CHive() {
    if (CurrentHive() == this) {
        CurrentHive() = nullptr;
    }
}

const std::string& CHive::Path() const {
    return m_pImpl->m_path;
}

bool CHive::IsWindowsHiveFile() const {
    return m_pImpl->m_bWindowsHiveFile;
}

void CHive::CheckFamily(EPlatformFamily family) const {
    if (IsWindowsHiveFile() && family != EPlatformFamily::WindowsNT) {
        throw CHiveFile::Refusal(Path(),
                                 "it is the SYSTEM hive of a Windows NT-family installation, and "
                                 "Windows 95/98 keep their registry in another format; use a .reg "
                                 "file for them, or leave out the 9x platform");
    }
}

bool CHive::IsReadOnly() const {
    return !m_pImpl->m_readOnlyReason.empty();
}

const std::string& CHive::ReadOnlyReason() const {
    return m_pImpl->m_readOnlyReason;
}

bool CHive::ChangedSinceLastLook() {
    return m_pImpl->ChangedSinceLastLook();
}

void CHive::SetCurrent(CHive* hive) {
    CurrentHive() = hive;
}

CHive* CHive::Current() {
    return CurrentHive();
}

void CHive::InjectFault(ERegOp op, const std::string& keyPath, const std::string& valueName,
                        Win32Status status, bool once) {
    m_pImpl->m_faults.Add(op, keyPath, valueName, status, once);
}

void CHive::ClearFaults() {
    m_pImpl->m_faults.Clear();
}

void CHive::SetWriteObserver(std::function<void(const SHiveWrite&)> observer) {
    m_pImpl->m_observer = std::move(observer);
}

Win32Status CHive::FindKey(const std::string& path, HiveKeyId& id) {
    return m_pImpl->OpenKey(path, false, id);
}

Win32Status CHive::CreateKey(const std::string& path, HiveKeyId& id, std::size_t* created) {
    return m_pImpl->OpenKey(path, true, id, created);
}

Win32Status CHive::ReadValue(HiveKeyId key, const std::string& name, SHiveValue& value) {
    return m_pImpl->ReadValue(key, nullptr, name, value);
}

Win32Status CHive::WriteValue(HiveKeyId key, const std::string& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) {
    return m_pImpl->WriteValue(key, nullptr, name, type, data);
}

Win32Status CHive::DeleteValue(HiveKeyId key, const std::string& name) {
    return m_pImpl->DeleteValue(key, nullptr, name);
}

Win32Status CHive::SubKeyNames(HiveKeyId key, std::vector<std::string>& names) {
    return m_pImpl->SubKeyNames(key, nullptr, names);
}

Win32Status CHive::SubKeys(HiveKeyId key, std::vector<SHiveSubKey>& subKeys) {
    return m_pImpl->SubKeyEntries(key, subKeys);
}

Win32Status CHive::Values(HiveKeyId key, std::vector<SHiveValue>& values,
                          std::vector<std::string>* unreadable) {
    return m_pImpl->Values(key, nullptr, values, unreadable);
}

Win32Status CHive::DeleteKey(const std::string& path, bool recursive) {
    return m_pImpl->DeleteKey(path, recursive);
}

#include "hiveservicemanager.h"

#include "hive.h"
#include "sqliteservicestates.h"

#include <cstring>

namespace {
// The services sit below the model's key paths; the services key is the platform's own.
constexpr const char* kServicesKeyPath = "SYSTEM\\CurrentControlSet\\Services\\";

std::uint32_t DwordOf(const SHiveValue& value) {
    std::uint32_t number = 0;
    std::memcpy(&number, value.data.data(), sizeof number);
    return number;
}
} // namespace

CHiveServiceManager::CHiveServiceManager(CHive& hive)
    : m_hive(hive), m_pStates(CSqliteServiceStates::Of(hive)) {}

CHiveServiceManager::~CHiveServiceManager() = default;

int CHiveServiceManager::Fail(Win32Status error) {
    m_lastError = error;
    return 0;
}

SC_HANDLE CHiveServiceManager::NewHandle(SHandle handle) {
    SC_HANDLE number = m_nextHandle++;
    m_handles.emplace(number, std::move(handle));
    m_lastError = ERROR_SUCCESS;
    return number;
}

Win32Status CHiveServiceManager::FindInstalled(const std::string& name, std::uint32_t& type) {
    // A name with a separator would reach a key below a service's key.
    if (name.empty() || name.find('\\') != std::string::npos) {
        return ERROR_SERVICE_DOES_NOT_EXIST;
    }
    HiveKeyId key = 0;
    SHiveValue value;
    if (m_hive.FindKey(kServicesKeyPath + name, key) != ERROR_SUCCESS ||
        m_hive.ReadValue(key, "Type", value) != ERROR_SUCCESS || value.type != REG_DWORD ||
        value.data.size() != sizeof(std::uint32_t)) {
        return ERROR_SERVICE_DOES_NOT_EXIST;
    }
    type = DwordOf(value);
    return ERROR_SUCCESS;
}

Win32Status CHiveServiceManager::ServiceOf(SC_HANDLE handle, std::string& name,
                                           std::uint32_t& type) {
    auto found = m_handles.find(handle);
    if (found == m_handles.end() || found->second.isManager) {
        return ERROR_INVALID_HANDLE;
    }
    name = found->second.service;
    return FindInstalled(name, type);
}

Win32Status CHiveServiceManager::ReadRow(const std::string& name, SServiceState& state) {
    return m_pStates == nullptr ? ERROR_REGISTRY_IO_FAILED : m_pStates->Read(name, state);
}

Win32Status CHiveServiceManager::Writable() const {
    if (m_pStates == nullptr) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    return m_hive.IsReadOnly() ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

Win32Status CHiveServiceManager::Change(Win32Status (IServiceStates::*change)(const std::string&,
                                                                              bool&),
                                        const std::string& name, bool& changed) {
    const Win32Status status = Writable();
    return status != ERROR_SUCCESS ? status : (m_pStates.get()->*change)(name, changed);
}

Win32Status CHiveServiceManager::Forget(const std::string& name) {
    if (const Win32Status status = Writable(); status != ERROR_SUCCESS) {
        return status;
    }
    return m_pStates->Forget(name);
}

bool CHiveServiceManager::IsReachable() {
    return m_pStates != nullptr;
}

SC_HANDLE CHiveServiceManager::OpenSCManager(const char* /*machine*/, const char* /*database*/,
                                             std::uint32_t /*access*/) {
    // The Windows of a hive file is not running: there is no manager to reach.
    if (!IsReachable()) {
        return Fail(RPC_S_SERVER_UNAVAILABLE);
    }
    return NewHandle({true, std::string()});
}

SC_HANDLE CHiveServiceManager::OpenService(SC_HANDLE manager, const std::string& name,
                                           std::uint32_t /*access*/) {
    auto found = m_handles.find(manager);
    if (found == m_handles.end() || !found->second.isManager) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    std::uint32_t type = 0;
    if (Win32Status status = FindInstalled(name, type); status != ERROR_SUCCESS) {
        Forget(name);
        return Fail(status);
    }
    return NewHandle({false, name});
}

int CHiveServiceManager::ControlService(SC_HANDLE service, std::uint32_t control,
                                        SServiceStatus& status) {
    std::string name;
    std::uint32_t type = 0;
    if (Win32Status error = ServiceOf(service, name, type); error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (control != SERVICE_CONTROL_STOP) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    bool stopped = false;
    SServiceState state;
    if (Win32Status error = Change(&IServiceStates::Stop, name, stopped); error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (Win32Status error = ReadRow(name, state); error != ERROR_SUCCESS) {
        return Fail(error);
    }
    status.serviceType = type;
    status.currentState = state.running ? kServiceRunning : kServiceStopped;
    if (stopped) {
        m_lastError = ERROR_SUCCESS;
        return 1;
    }
    return Fail(state.running ? ERROR_INVALID_SERVICE_CONTROL : ERROR_SERVICE_NOT_ACTIVE);
}

int CHiveServiceManager::StartService(SC_HANDLE service, std::uint32_t /*argc*/,
                                      const char** /*argv*/) {
    std::string name;
    std::uint32_t type = 0;
    if (Win32Status error = ServiceOf(service, name, type); error != ERROR_SUCCESS) {
        return Fail(error);
    }
    bool started = false;
    if (Win32Status error = Change(&IServiceStates::Start, name, started); error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (started) {
        m_lastError = ERROR_SUCCESS;
        return 1;
    }
    SServiceState state;
    if (Win32Status error = ReadRow(name, state); error != ERROR_SUCCESS) {
        return Fail(error);
    }
    return Fail(state.markedForDeletion ? ERROR_SERVICE_MARKED_FOR_DELETE
                                        : ERROR_SERVICE_ALREADY_RUNNING);
}

int CHiveServiceManager::CloseServiceHandle(SC_HANDLE handle) {
    if (m_handles.erase(handle) == 0) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    m_lastError = ERROR_SUCCESS;
    return 1;
}

Win32Status CHiveServiceManager::QueryServiceState(const std::string& name, SServiceState& state) {
    state = SServiceState();
    std::uint32_t type = 0;
    if (FindInstalled(name, type) != ERROR_SUCCESS) {
        return Forget(name);
    }
    state.installed = true;
    return ReadRow(name, state);
}

Win32Status CHiveServiceManager::SetFlag(Win32Status (IServiceStates::*set)(const std::string&,
                                                                            bool),
                                         const std::string& name, bool value) {
    std::uint32_t type = 0;
    if (Win32Status status = FindInstalled(name, type); status != ERROR_SUCCESS) {
        return status;
    }
    const Win32Status status = Writable();
    return status != ERROR_SUCCESS ? status : (m_pStates.get()->*set)(name, value);
}

Win32Status CHiveServiceManager::SetRefuseStop(const std::string& name, bool refuse) {
    return SetFlag(&IServiceStates::SetRefuseStop, name, refuse);
}

Win32Status CHiveServiceManager::SetMarkedForDeletion(const std::string& name, bool marked) {
    return SetFlag(&IServiceStates::SetMarkedForDeletion, name, marked);
}

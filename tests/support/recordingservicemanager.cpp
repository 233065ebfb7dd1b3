#include "recordingservicemanager.h"

#include <algorithm>

namespace {
std::string Name(SC_HANDLE handle) {
    return handle == 0 ? std::string("null") : std::to_string(handle);
}
} // namespace

void CRecordingServiceManager::Record(const std::string& call, int result) {
    m_calls.push_back(call + (result != 0 ? " -> ok" : " -> " + std::to_string(GetLastError())));
}

SC_HANDLE CRecordingServiceManager::OpenSCManager(const char* machine, const char* database,
                                                  std::uint32_t access) {
    SC_HANDLE handle = m_inner.OpenSCManager(machine, database, access);
    bool local = machine == nullptr && database == nullptr;
    Record(std::string("OpenSCManager") + (local ? "" : " remote") +
               (access == SC_MANAGER_ALL_ACCESS ? "" : " limited"),
           handle != 0 ? 1 : 0);
    if (handle != 0) {
        m_open.push_back(handle);
    }
    return handle;
}

SC_HANDLE CRecordingServiceManager::OpenService(SC_HANDLE manager, const std::string& name,
                                                std::uint32_t access) {
    SC_HANDLE handle = m_inner.OpenService(manager, name, access);
    Record("OpenService " + Name(manager) + " " + name +
               (access == SERVICE_ALL_ACCESS ? "" : " limited"),
           handle != 0 ? 1 : 0);
    if (handle != 0) {
        m_open.push_back(handle);
    }
    return handle;
}

int CRecordingServiceManager::ControlService(SC_HANDLE service, std::uint32_t control,
                                             SServiceStatus& status) {
    int result = m_inner.ControlService(service, control, status);
    Record("ControlService " + Name(service) + " " + std::to_string(control), result);
    return result;
}

int CRecordingServiceManager::StartService(SC_HANDLE service, std::uint32_t argc,
                                           const char** argv) {
    int result = m_inner.StartService(service, argc, argv);
    Record("StartService " + Name(service) + " " + std::to_string(argc), result);
    return result;
}

int CRecordingServiceManager::CloseServiceHandle(SC_HANDLE handle) {
    int result = m_inner.CloseServiceHandle(handle);
    Record("CloseServiceHandle " + Name(handle), result);
    std::erase(m_open, handle);
    return result;
}

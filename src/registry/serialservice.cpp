#include "serialservice.h"

#include "iservicecontrolmanager.h"

namespace {
constexpr const char* kSerialService = "Serial";

// Opens the manager and the service, runs request on the service and closes both handles.
template <typename Request>
int WithSerialService(IServiceControlManager* manager, Request request) {
    if (manager == nullptr) {
        return 0;
    }
    SC_HANDLE scm = manager->OpenSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager->OpenService(scm, kSerialService, SERVICE_ALL_ACCESS);
    if (service == 0) {
        if (scm != 0) {
            manager->CloseServiceHandle(scm);
        }
        return 0;
    }
    int result = request(service);
    manager->CloseServiceHandle(service);
    manager->CloseServiceHandle(scm);
    return result;
}
} // namespace

int CSerialService::StopSerialService(IServiceControlManager* manager) {
    return WithSerialService(manager, [manager](SC_HANDLE service) {
        SServiceStatus status;
        int accepted = manager->ControlService(service, SERVICE_CONTROL_STOP, status);
        if (accepted != 0) {
            return accepted;
        }
        return manager->GetLastError() == ERROR_INVALID_SERVICE_CONTROL ? 1 : 0;
    });
}

int CSerialService::StartSerialService(IServiceControlManager* manager) {
    return WithSerialService(manager, [manager](SC_HANDLE service) {
        int accepted = manager->StartService(service, 0, nullptr);
        if (accepted != 0) {
            return accepted;
        }
        Win32Status error = manager->GetLastError();
        return error == ERROR_SERVICE_ALREADY_RUNNING || error == ERROR_SERVICE_MARKED_FOR_DELETE
                   ? 1
                   : 0;
    });
}

#pragma once

#include "iservicecontrolmanager.h"
#include "iservicestates.h"

#include <map>
#include <memory>
#include <string>

class CHive;

// The service control manager of Windows NT, emulated on a hive. A service is installed while
// SYSTEM\CurrentControlSet\Services\<name> holds a DWORD value Type; its running state and its
// two flags live in IServiceStates (the services table of our own registry file), so they
// persist across processes and several processes share them. A service with no row is stopped and
// has both flags clear, and the row of a service found uninstalled is dropped, so a newly installed
// service starts stopped.
//
// Stop fails with ERROR_SERVICE_NOT_ACTIVE when the service is stopped and with
// ERROR_INVALID_SERVICE_CONTROL when it refuses the stop; start fails with
// ERROR_SERVICE_MARKED_FOR_DELETE when the service is marked for deletion and with
// ERROR_SERVICE_ALREADY_RUNNING when it runs. Each change is one step of the states' store, so
// two processes never both stop (or start) the same service. Handles are numbers local to this
// object; access masks are accepted and not checked, and the local machine's active database is the
// only one.
class CHiveServiceManager : public IServiceControlManager {
public:
    explicit CHiveServiceManager(CHive& hive);
    ~CHiveServiceManager() override;

    SC_HANDLE OpenSCManager(const char* machine, const char* database,
                            std::uint32_t access) override;
    SC_HANDLE OpenService(SC_HANDLE manager, const std::string& name,
                          std::uint32_t access) override;
    int ControlService(SC_HANDLE service, std::uint32_t control, SServiceStatus& status) override;
    int StartService(SC_HANDLE service, std::uint32_t argc, const char** argv) override;
    int CloseServiceHandle(SC_HANDLE handle) override;
    Win32Status GetLastError() const override { return m_lastError; }

    // false for the SYSTEM hive file of a Windows installation that is not running: every
    // OpenSCManager then fails with RPC_S_SERVER_UNAVAILABLE.
    bool IsReachable();

    // For the command line's service commands: the state of a service (not installed is a
    // state, not a failure), and its two flags. Setting a flag of a service that is not installed
    // fails with ERROR_SERVICE_DOES_NOT_EXIST. Failures of the hive give
    // ERROR_REGISTRY_IO_FAILED.
    Win32Status QueryServiceState(const std::string& name, SServiceState& state);
    Win32Status SetRefuseStop(const std::string& name, bool refuse);
    Win32Status SetMarkedForDeletion(const std::string& name, bool marked);

    // Windows NT's service type and state numbers, as the status record reports them.
    static constexpr std::uint32_t kServiceStopped = 1;
    static constexpr std::uint32_t kServiceRunning = 4;

private:
    struct SHandle {
        bool isManager = false;
        std::string service;
    };

    // ERROR_SUCCESS with the service's Type, or ERROR_SERVICE_DOES_NOT_EXIST.
    Win32Status FindInstalled(const std::string& name, std::uint32_t& type);
    // The service named by an open service handle, still installed.
    Win32Status ServiceOf(SC_HANDLE handle, std::string& name, std::uint32_t& type);
    Win32Status ReadRow(const std::string& name, SServiceState& state);
    Win32Status Forget(const std::string& name);
    // One change of the service's state; changed tells whether it changed anything.
    Win32Status Change(Win32Status (IServiceStates::*change)(const std::string&, bool&),
                       const std::string& name, bool& changed);
    Win32Status SetFlag(Win32Status (IServiceStates::*set)(const std::string&, bool),
                        const std::string& name, bool value);
    // ERROR_SUCCESS when the states can be changed.
    Win32Status Writable() const;
    SC_HANDLE NewHandle(SHandle handle);
    int Fail(Win32Status error);

    CHive& m_hive;
    // nullptr when the hive keeps no states (a Windows hive file).
    std::unique_ptr<IServiceStates> m_pStates;
    std::map<SC_HANDLE, SHandle> m_handles;
    SC_HANDLE m_nextHandle = 1;
    Win32Status m_lastError = ERROR_SUCCESS;
};

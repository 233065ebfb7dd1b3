#include "servicecommands.h"

#include "clienvironment.h"
#include "hiveservicemanager.h"
#include "processrunner.h"
#include "rootfilesystem.h"
#include "systemdservicemanager.h"

#include <CLI/CLI.hpp>
#include <map>
#include <ostream>

namespace {
const char* OnOff(bool on) {
    return on ? "on" : "off";
}

// Closes a handle of the service control manager when it goes out of scope.
class CServiceHandle {
public:
    CServiceHandle(IServiceControlManager& manager, SC_HANDLE handle)
        : m_manager(manager), m_handle(handle) {}
    ~CServiceHandle() {
        if (m_handle != 0) {
            m_manager.CloseServiceHandle(m_handle);
        }
    }
    CServiceHandle(const CServiceHandle&) = delete;
    CServiceHandle& operator=(const CServiceHandle&) = delete;
    SC_HANDLE Get() const { return m_handle; }

private:
    IServiceControlManager& m_manager;
    SC_HANDLE m_handle;
};
} // namespace

void CServiceCommands::Register(CLI::App& app) {
    m_pService = app.add_subcommand("service", "The emulated service control manager");
    m_pService->require_subcommand(1);
    m_pStatus = m_pService->add_subcommand(
        "status", "Print whether NAME is installed, running or stopped, and its settings");
    m_pStart = m_pService->add_subcommand("start", "Start the service NAME");
    m_pStop = m_pService->add_subcommand("stop", "Stop the service NAME");
    m_pRestart =
        m_pService->add_subcommand("restart", "Stop the service NAME when it runs, then start it");
    m_pSet = m_pService->add_subcommand(
        "set", "Set how the service NAME behaves: refuse-stop=on|off marked-for-deletion=on|off");
    for (CLI::App* command : {m_pStatus, m_pStart, m_pStop, m_pRestart, m_pSet}) {
        command->add_option("NAME", m_name, "the service's key name, e.g. Serial")->required();
    }
    m_pSet->add_option("SETTING", m_settings, "refuse-stop=on|off, marked-for-deletion=on|off")
        ->required();
}

bool CServiceCommands::Parsed() const {
    return m_pService->parsed();
}

bool CServiceCommands::Writes() const {
    return !m_pStatus->parsed();
}

bool CServiceCommands::UsesRegistry(EPlatformFamily family) const {
    return family != EPlatformFamily::Linux;
}

CServiceCommands::EControl CServiceCommands::Control() const {
    if (m_pStart->parsed()) {
        return EControl::Start;
    }
    return m_pStop->parsed() ? EControl::Stop : EControl::Restart;
}

ECliExit CServiceCommands::Run(CCliEnvironment& environment) {
    CHiveServiceManager& manager = environment.ServiceManager();
    if (!manager.IsReachable()) {
        environment.Error("'" + environment.Hive().Path() +
                          "' is the SYSTEM hive of an offline Windows installation: no service "
                          "runs there and no service control manager can be asked");
        return ECliExit::Failed;
    }
    EBatchEnd end = m_pStatus->parsed() ? EBatchEnd::Discard : EBatchEnd::Keep;
    return environment.RunBatch(end, [this, &manager] {
        if (m_pStatus->parsed()) {
            return Status(manager);
        }
        if (m_pSet->parsed()) {
            return SetFlags(manager);
        }
        return Apply(manager, Control());
    });
}

ECliExit CServiceCommands::RunAlone(const SCliPlatform& platform, std::ostream& out,
                                    std::ostream& err) {
    CRootFileSystem files(platform.root);
    CProcessRunner runner;
    CSystemdServiceManager manager(files, runner);
    const SCliResult result = OnSystemd(manager);
    if (!result.reason.empty()) {
        err << "qserctl: " << result.reason << '\n';
    }
    out << result.output << std::flush;
    return result.status;
}

SCliResult CServiceCommands::OnSystemd(CSystemdServiceManager& manager) const {
    if (m_pSet->parsed()) {
        return SCliResult::Refuse("refuse-stop and marked-for-deletion belong to the emulated "
                                  "service control manager; on Linux, systemd keeps its units' "
                                  "settings");
    }
    SCliResult result = m_pStatus->parsed() ? UnitStatus(manager) : Apply(manager, Control());
    if (result.status != ECliExit::Success && !manager.Detail().empty()) {
        result.reason += " (" + manager.Detail() + ")";
    }
    return result;
}

SCliResult CServiceCommands::UnitStatus(CSystemdServiceManager& manager) const {
    bool installed = false;
    bool active = false;
    if (Win32Status status = manager.QueryUnit(m_name, installed, active);
        status != ERROR_SUCCESS) {
        return Failure("query", status);
    }
    const std::string unit = CSystemdServiceManager::UnitOf(m_name);
    const std::string shown = unit == m_name ? m_name : m_name + " (" + unit + ")";
    if (!installed) {
        return SCliResult::Output(shown + ": not installed\n");
    }
    return SCliResult::Output(shown + ": installed, " + (active ? "running" : "stopped") + "\n");
}

std::string CServiceCommands::Reason(Win32Status status) {
    static const std::map<Win32Status, std::string> reasons = {
        {ERROR_SERVICE_DOES_NOT_EXIST, "the service is not installed"},
        {ERROR_SERVICE_ALREADY_RUNNING, "the service is already running"},
        {ERROR_SERVICE_NOT_ACTIVE, "the service is not running"},
        {ERROR_INVALID_SERVICE_CONTROL, "the service refuses to stop"},
        {ERROR_SERVICE_MARKED_FOR_DELETE, "the service is marked for deletion"},
        {ERROR_REGISTRY_IO_FAILED, "the registry file cannot be read or written"},
        {RPC_S_SERVER_UNAVAILABLE, "systemd cannot be asked (the root is not the running system, "
                                   "or it was not started by systemd)"},
        {ERROR_ACCESS_DENIED, "only root may do that"},
        {ERROR_SERVICE_SPECIFIC_ERROR, "the unit failed"},
    };
    auto found = reasons.find(status);
    std::string text =
        found == reasons.end() ? "the service control manager failed" : found->second;
    return text + " (error " + std::to_string(status) + ")";
}

SCliResult CServiceCommands::Failure(const std::string& action, Win32Status status) const {
    return SCliResult::Fail("cannot " + action + " " + m_name + ": " + Reason(status));
}

SCliResult CServiceCommands::Status(CHiveServiceManager& manager) const {
    SServiceState state;
    Win32Status status = manager.QueryServiceState(m_name, state);
    if (status != ERROR_SUCCESS) {
        return Failure("query", status);
    }
    if (!state.installed) {
        return SCliResult::Output(m_name + ": not installed\n");
    }
    return SCliResult::Output(m_name + ": installed, " + (state.running ? "running" : "stopped") +
                              ", refuse-stop=" + OnOff(state.refuseStop) +
                              ", marked-for-deletion=" + OnOff(state.markedForDeletion) + "\n");
}

SCliResult CServiceCommands::Apply(IServiceControlManager& manager, EControl control) const {
    static const std::map<EControl, std::string> actions = {
        {EControl::Start, "start"}, {EControl::Stop, "stop"}, {EControl::Restart, "restart"}};
    const std::string& action = actions.at(control);
    CServiceHandle scm(manager, manager.OpenSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (scm.Get() == 0) {
        return Failure(action, manager.GetLastError());
    }
    CServiceHandle service(manager, manager.OpenService(scm.Get(), m_name, SERVICE_ALL_ACCESS));
    if (service.Get() == 0) {
        return Failure(action, manager.GetLastError());
    }
    if (control != EControl::Start) {
        SServiceStatus serviceStatus;
        // A restart starts a stopped service as well.
        if (manager.ControlService(service.Get(), SERVICE_CONTROL_STOP, serviceStatus) == 0 &&
            (control == EControl::Stop || manager.GetLastError() != ERROR_SERVICE_NOT_ACTIVE)) {
            return Failure(action, manager.GetLastError());
        }
    }
    if (control != EControl::Stop && manager.StartService(service.Get(), 0, nullptr) == 0) {
        return Failure(action, manager.GetLastError());
    }
    return {};
}

SCliResult CServiceCommands::SetFlags(CHiveServiceManager& manager) const {
    for (const std::string& setting : m_settings) {
        SCliResult result = SetFlag(manager, setting);
        if (result.status != ECliExit::Success) {
            return result;
        }
    }
    return {};
}

SCliResult CServiceCommands::SetFlag(CHiveServiceManager& manager,
                                     const std::string& setting) const {
    using Setter = Win32Status (CHiveServiceManager::*)(const std::string&, bool);
    static const std::map<std::string, Setter> setters = {
        {"refuse-stop", &CHiveServiceManager::SetRefuseStop},
        {"marked-for-deletion", &CHiveServiceManager::SetMarkedForDeletion},
    };
    std::size_t equals = setting.find('=');
    auto setter = setters.find(setting.substr(0, equals));
    std::string value = equals == std::string::npos ? "" : setting.substr(equals + 1);
    if (setter == setters.end() || (value != "on" && value != "off")) {
        return SCliResult::Refuse("'" + setting +
                                  "' is not refuse-stop=on|off or marked-for-deletion=on|off");
    }
    Win32Status status = (manager.*setter->second)(m_name, value == "on");
    return status == ERROR_SUCCESS ? SCliResult{} : Failure("set " + setter->first + " of", status);
}

#include "systemdservicemanager.h"

#include "icommandrunner.h"
#include "irootfilesystem.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr SC_HANDLE kManagerHandle = 1;

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

bool SaysNoRight(const std::string& output) {
    for (const char* phrase : {"Access denied", "authentication required", "Permission denied",
                               "Operation not permitted"}) {
        if (output.find(phrase) != std::string::npos) {
            return true;
        }
    }
    return false;
}
} // namespace

CSystemdServiceManager::CSystemdServiceManager(const IRootFileSystem& files, ICommandRunner& runner)
    : m_files(files), m_runner(runner) {}

int CSystemdServiceManager::Fail(Win32Status error) {
    m_lastError = error;
    return 0;
}

std::string CSystemdServiceManager::UnitOf(const std::string& name) {
    if (name == "Serial") {
        return kSerialUnit;
    }
    const bool valid = !name.empty() && name.front() != '-' &&
                       std::all_of(name.begin(), name.end(), [](unsigned char c) {
                           return std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.' ||
                                  c == '@' || c == ':' || c == '\\';
                       });
    if (!valid) {
        return "";
    }
    return name.find('.') == std::string::npos ? name + ".service" : name;
}

bool CSystemdServiceManager::Reachable() {
    m_detail.clear();
    if (!m_files.IsRunningSystem() || !m_files.Exists("/run/systemd/system")) {
        return Fail(RPC_S_SERVER_UNAVAILABLE) != 0;
    }
    return true;
}

bool CSystemdServiceManager::RunTool(const std::vector<std::string>& argv, std::string* output) {
    const SCommandResult result = m_runner.Run(argv);
    if (output != nullptr) {
        *output = result.output;
    }
    if (result.exitCode == 0) {
        return true;
    }
    m_detail = OneLine(result.output);
    if (result.exitCode == 127) {
        Fail(RPC_S_SERVER_UNAVAILABLE);
    } else {
        Fail(SaysNoRight(result.output) ? ERROR_ACCESS_DENIED : ERROR_SERVICE_SPECIFIC_ERROR);
    }
    return false;
}

bool CSystemdServiceManager::IsActive(const std::string& unit) {
    return m_runner.Run({"systemctl", "is-active", "--quiet", unit}).exitCode == 0;
}

SC_HANDLE CSystemdServiceManager::OpenSCManager(const char* /*machine*/, const char* /*database*/,
                                                std::uint32_t /*access*/) {
    return Reachable() ? kManagerHandle : 0;
}

Win32Status CSystemdServiceManager::QueryUnit(const std::string& name, bool& installed,
                                              bool& active) {
    installed = false;
    active = false;
    const std::string unit = UnitOf(name);
    if (!Reachable()) {
        return m_lastError;
    }
    if (unit.empty()) {
        return ERROR_SUCCESS;
    }
    std::string loadState;
    if (!RunTool({"systemctl", "show", "--property=LoadState", "--value", unit}, &loadState)) {
        return m_lastError;
    }
    installed = OneLine(loadState) == "loaded";
    active = installed && IsActive(unit);
    return ERROR_SUCCESS;
}

SC_HANDLE CSystemdServiceManager::OpenService(SC_HANDLE manager, const std::string& name,
                                              std::uint32_t /*access*/) {
    if (manager != kManagerHandle) {
        return static_cast<SC_HANDLE>(Fail(ERROR_INVALID_HANDLE));
    }
    bool installed = false;
    bool active = false;
    if (Win32Status status = QueryUnit(name, installed, active); status != ERROR_SUCCESS) {
        return static_cast<SC_HANDLE>(Fail(status));
    }
    if (!installed) {
        return static_cast<SC_HANDLE>(Fail(ERROR_SERVICE_DOES_NOT_EXIST));
    }
    const SC_HANDLE handle = m_nextHandle++;
    m_services[handle] = UnitOf(name);
    return handle;
}

int CSystemdServiceManager::ControlService(SC_HANDLE service, std::uint32_t control,
                                           SServiceStatus& status) {
    const auto found = m_services.find(service);
    if (found == m_services.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (control != SERVICE_CONTROL_STOP) {
        return Fail(ERROR_INVALID_SERVICE_CONTROL);
    }
    if (!IsActive(found->second)) {
        return Fail(ERROR_SERVICE_NOT_ACTIVE);
    }
    if (!RunTool({"systemctl", "--no-ask-password", "stop", found->second})) {
        return 0;
    }
    status.currentState = 1;
    return 1;
}

int CSystemdServiceManager::StartService(SC_HANDLE service, std::uint32_t /*argc*/,
                                         const char** /*argv*/) {
    const auto found = m_services.find(service);
    if (found == m_services.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (IsActive(found->second)) {
        return Fail(ERROR_SERVICE_ALREADY_RUNNING);
    }
    if (!RunTool({"systemctl", "--no-ask-password", "start", found->second})) {
        return 0;
    }
    // The serial service's ports are whole only with their links.
    if (found->second == kSerialUnit && ReloadDeviceRules() != ERROR_SUCCESS) {
        return 0;
    }
    return 1;
}

int CSystemdServiceManager::CloseServiceHandle(SC_HANDLE handle) {
    if (handle == kManagerHandle) {
        return 1;
    }
    return m_services.erase(handle) != 0 ? 1 : Fail(ERROR_INVALID_HANDLE);
}

Win32Status CSystemdServiceManager::ReloadDeviceRules() {
    if (!Reachable()) {
        return m_lastError;
    }
    if (!RunTool({"udevadm", "control", "--reload"}) ||
        !RunTool({"udevadm", "trigger", "--action=change", "--subsystem-match=tty"})) {
        return m_lastError;
    }
    return ERROR_SUCCESS;
}

#pragma once

#include "iservicecontrolmanager.h"

#include <map>
#include <string>
#include <vector>

class ICommandRunner;
class IRootFileSystem;

// The service control manager on Linux: systemd, asked through systemctl, and udev, asked
// through udevadm. The serial service "Serial" is the unit that applies /etc/serial.conf,
// etc-setserial.service (Debian's setserial package); any other name is the unit NAME.service
// (or NAME itself when it has a suffix).
//
// systemd can be reached only on the system this process runs on (the root is "/") when it was
// booted with systemd (/run/systemd/system exists) and systemctl can be started; otherwise
// OpenSCManager fails with RPC_S_SERVER_UNAVAILABLE, as for a machine whose manager cannot be
// reached. OpenService fails with ERROR_SERVICE_DOES_NOT_EXIST for a unit systemd does not
// know; stop of an inactive unit fails with ERROR_SERVICE_NOT_ACTIVE and start of an active one
// with ERROR_SERVICE_ALREADY_RUNNING (the unit is a one-shot that stays active, so only a stop
// and a start apply the file again); a refusal for want of rights gives ERROR_ACCESS_DENIED and
// any other failure ERROR_SERVICE_SPECIFIC_ERROR. Detail() then holds what the tool said. A start
// of the serial service also has udev read its rules again (ReloadDeviceRules), since its ports'
// links are part of what the close sequence applies.
class CSystemdServiceManager : public IServiceControlManager {
public:
    CSystemdServiceManager(const IRootFileSystem& files, ICommandRunner& runner);

    SC_HANDLE OpenSCManager(const char* machine, const char* database,
                            std::uint32_t access) override;
    SC_HANDLE OpenService(SC_HANDLE manager, const std::string& name,
                          std::uint32_t access) override;
    int ControlService(SC_HANDLE service, std::uint32_t control, SServiceStatus& status) override;
    int StartService(SC_HANDLE service, std::uint32_t argc, const char** argv) override;
    int CloseServiceHandle(SC_HANDLE handle) override;
    Win32Status GetLastError() const override { return m_lastError; }

    // What the last failing tool printed, on one line; empty when it printed nothing.
    const std::string& Detail() const { return m_detail; }

    // The unit a service name stands for; empty when the name cannot be a unit's.
    static std::string UnitOf(const std::string& name);
    // Whether a unit is known and active; fails as OpenSCManager and OpenService fail.
    Win32Status QueryUnit(const std::string& name, bool& installed, bool& active);
    // Makes udev read its rules again and apply them to the serial lines, so that new links
    // appear at once. ERROR_SUCCESS, or the failure as for a unit.
    Win32Status ReloadDeviceRules();

    static constexpr const char* kSerialUnit = "etc-setserial.service";

private:
    bool Reachable();
    // Runs systemctl or udevadm; a non-zero exit sets the last error from its output.
    bool RunTool(const std::vector<std::string>& argv, std::string* output = nullptr);
    bool IsActive(const std::string& unit);
    int Fail(Win32Status error);

    const IRootFileSystem& m_files;
    ICommandRunner& m_runner;
    std::map<SC_HANDLE, std::string> m_services;
    SC_HANDLE m_nextHandle = 2;
    Win32Status m_lastError = ERROR_SUCCESS;
    std::string m_detail;
};

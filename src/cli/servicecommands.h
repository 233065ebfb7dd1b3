#pragma once

#include "iclicommandgroup.h"
#include "win32status.h"

#include <string>
#include <vector>

class CHiveServiceManager;
class CSystemdServiceManager;
class IServiceControlManager;

// service status|start|stop|restart NAME and service set NAME refuse-stop=on|off
// marked-for-deletion=on|off: the emulated service control manager, without the document. Start
// and stop go through the same calls the serial service restart makes. A missing hive file is
// refused rather than created, since it can hold no installed service. On Linux, status, start,
// stop and restart ask systemd about a unit ("Serial" is etc-setserial.service) without the
// registry file, and set is refused.
class CServiceCommands : public ICliCommandGroup {
public:
    void Register(CLI::App& app) override;
    bool Parsed() const override;
    EHiveOpen OpenMode() const override { return EHiveOpen::MustExist; }
    bool Writes() const override;
    ECliExit Run(CCliEnvironment& environment) override;
    bool UsesRegistry(EPlatformFamily family) const override;
    ECliExit RunAlone(const SCliPlatform& platform, std::ostream& out, std::ostream& err) override;

private:
    enum class EControl { Start, Stop, Restart };

    EControl Control() const;
    SCliResult Status(CHiveServiceManager& manager) const;
    SCliResult Apply(IServiceControlManager& manager, EControl control) const;
    SCliResult OnSystemd(CSystemdServiceManager& manager) const;
    SCliResult UnitStatus(CSystemdServiceManager& manager) const;
    SCliResult SetFlags(CHiveServiceManager& manager) const;
    SCliResult SetFlag(CHiveServiceManager& manager, const std::string& setting) const;
    SCliResult Failure(const std::string& action, Win32Status status) const;
    static std::string Reason(Win32Status status);

    CLI::App* m_pService = nullptr;
    CLI::App* m_pStatus = nullptr;
    CLI::App* m_pStart = nullptr;
    CLI::App* m_pStop = nullptr;
    CLI::App* m_pRestart = nullptr;
    CLI::App* m_pSet = nullptr;
    std::string m_name;
    std::vector<std::string> m_settings;
};

#pragma once

#include "win32status.h"

#include <cstdint>
#include <string>

// A handle of the service control manager or of one service; 0 is the null handle.
using SC_HANDLE = std::uintptr_t;

inline constexpr std::uint32_t SC_MANAGER_ALL_ACCESS = 0xF003F;
inline constexpr std::uint32_t SERVICE_ALL_ACCESS = 0xF01FF;
inline constexpr std::uint32_t SERVICE_CONTROL_STOP = 1;

struct SServiceStatus {
    std::uint32_t serviceType = 0;
    std::uint32_t currentState = 0;
    std::uint32_t win32ExitCode = 0;
};

// The service control manager of Windows NT, as the serial service stop and start use it.
// Functions that return int give non-zero on success; GetLastError tells why the last call
// failed (ERROR_SERVICE_DOES_NOT_EXIST, ERROR_INVALID_SERVICE_CONTROL,
// ERROR_SERVICE_ALREADY_RUNNING, ERROR_SERVICE_NOT_ACTIVE, ERROR_SERVICE_MARKED_FOR_DELETE).
class IServiceControlManager {
public:
    virtual ~IServiceControlManager() = default;
    virtual SC_HANDLE OpenSCManager(const char* machine, const char* database,
                                    std::uint32_t access) = 0;
    virtual SC_HANDLE OpenService(SC_HANDLE manager, const std::string& name,
                                  std::uint32_t access) = 0;
    virtual int ControlService(SC_HANDLE service, std::uint32_t control,
                               SServiceStatus& status) = 0;
    virtual int StartService(SC_HANDLE service, std::uint32_t argc, const char** argv) = 0;
    virtual int CloseServiceHandle(SC_HANDLE handle) = 0;
    virtual Win32Status GetLastError() const = 0;
};

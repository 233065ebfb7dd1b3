#pragma once

#include "iservicecontrolmanager.h"

#include <string>
#include <vector>

// Passes every call on to another service control manager and records it with its handle numbers
// ("null" for 0), its arguments where they differ from the usual ones and its outcome ("-> ok" or
// "-> " and the last error), so tests can check which calls were made and that every handle was
// closed.
class CRecordingServiceManager : public IServiceControlManager {
public:
    explicit CRecordingServiceManager(IServiceControlManager& inner) : m_inner(inner) {}

    SC_HANDLE OpenSCManager(const char* machine, const char* database,
                            std::uint32_t access) override;
    SC_HANDLE OpenService(SC_HANDLE manager, const std::string& name,
                          std::uint32_t access) override;
    int ControlService(SC_HANDLE service, std::uint32_t control, SServiceStatus& status) override;
    int StartService(SC_HANDLE service, std::uint32_t argc, const char** argv) override;
    int CloseServiceHandle(SC_HANDLE handle) override;
    Win32Status GetLastError() const override { return m_inner.GetLastError(); }

    const std::vector<std::string>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }
    // Handles handed out and not closed yet.
    std::size_t OpenHandles() const { return m_open.size(); }

private:
    void Record(const std::string& call, int result);

    IServiceControlManager& m_inner;
    std::vector<std::string> m_calls;
    std::vector<SC_HANDLE> m_open;
};

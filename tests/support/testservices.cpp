#include "testservices.h"

#include "testkeypaths.h"

#include <gtest/gtest.h>

void InstallService(CHiveProbe& probe, const std::string& name, std::uint32_t type) {
    probe.SetDword(kServicesKey + "\\" + name, "Type", type);
}

void InstallRunningSerialService(CHiveProbe& probe, IServiceControlManager& scm) {
    InstallService(probe, "Serial");
    SC_HANDLE manager = scm.OpenSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = scm.OpenService(manager, "Serial", SERVICE_ALL_ACCESS);
    ASSERT_NE(scm.StartService(service, 0, nullptr), 0);
    scm.CloseServiceHandle(service);
    scm.CloseServiceHandle(manager);
}

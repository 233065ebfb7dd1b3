#pragma once

#include "hiveprobe.h"
#include "iservicecontrolmanager.h"

#include <cstdint>
#include <string>

// Services as the tests lay them into the hive, where the emulated service control manager
// finds them: a key under the services key with a Type value.
void InstallService(CHiveProbe& probe, const std::string& name, std::uint32_t type = 1);

// Installs the Serial service and starts it through the service control manager, as a running
// system has it; a refused start fails the test.
void InstallRunningSerialService(CHiveProbe& probe, IServiceControlManager& scm);

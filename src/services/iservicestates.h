#pragma once

#include "win32status.h"

#include <string>

// What the emulated service control manager knows of one service.
struct SServiceState {
    bool installed = false;
    bool running = false;
    bool refuseStop = false;
    bool markedForDeletion = false;
    bool operator==(const SServiceState&) const = default;
};

// Where the services' running states and their two flags persist, shared by every process that
// opens the same file. A service without a record is stopped and has both flags clear. Each
// change is one atomic step, so two processes never both stop (or start) the same service.
// Failures of the file give ERROR_REGISTRY_IO_FAILED.
class IServiceStates {
public:
    virtual ~IServiceStates() = default;

    // Sets running and the two flags from the record; leaves state as it is without one.
    virtual Win32Status Read(const std::string& name, SServiceState& state) = 0;
    // Drops the record: a service installed again starts stopped with both flags clear.
    virtual Win32Status Forget(const std::string& name) = 0;
    // changed: whether the service was running and did not refuse the stop.
    virtual Win32Status Stop(const std::string& name, bool& changed) = 0;
    // changed: whether the service was stopped and not marked for deletion.
    virtual Win32Status Start(const std::string& name, bool& changed) = 0;
    virtual Win32Status SetRefuseStop(const std::string& name, bool refuse) = 0;
    virtual Win32Status SetMarkedForDeletion(const std::string& name, bool marked) = 0;
};

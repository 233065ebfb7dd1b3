#pragma once

#include "iservicestates.h"

#include <memory>

class CHive;
class CSqliteConnection;

// The services' states in the services table of our own registry file, one statement a change.
class CSqliteServiceStates : public IServiceStates {
public:
    // nullptr for a hive that is not kept in our own file: a Windows hive file has no services.
    static std::unique_ptr<IServiceStates> Of(CHive& hive);

    explicit CSqliteServiceStates(CSqliteConnection& connection);

    Win32Status Read(const std::string& name, SServiceState& state) override;
    Win32Status Forget(const std::string& name) override;
    Win32Status Stop(const std::string& name, bool& changed) override;
    Win32Status Start(const std::string& name, bool& changed) override;
    Win32Status SetRefuseStop(const std::string& name, bool refuse) override;
    Win32Status SetMarkedForDeletion(const std::string& name, bool marked) override;

private:
    // Runs one statement on the row of name; changed tells whether it changed a row.
    Win32Status Change(const char* sql, const std::string& name, bool& changed);
    Win32Status SetFlag(const char* sql, const std::string& name, bool value);

    CSqliteConnection& m_connection;
};

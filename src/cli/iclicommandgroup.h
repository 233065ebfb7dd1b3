#pragma once

#include "cliplatform.h"
#include "cliresult.h"
#include "hive.h"

#include <iosfwd>

namespace CLI {
class App;
} // namespace CLI

class CCliEnvironment;

// A group of qserctl's commands: it declares its sub-commands with their options and help, and
// runs the one given on the command line.
class ICliCommandGroup {
public:
    virtual ~ICliCommandGroup() = default;
    virtual void Register(CLI::App& app) = 0;
    // Whether one of the group's commands was given.
    virtual bool Parsed() const = 0;
    // How the given command opens the hive file: the commands that only read never create it.
    virtual EHiveOpen OpenMode() const = 0;
    // Whether the given command changes the hive: on a file that cannot be written it is
    // refused before it runs.
    virtual bool Writes() const = 0;
    virtual ECliExit Run(CCliEnvironment& environment) = 0;
    // Whether the given command works on the registry file (--registry) on the family. One
    // that does not runs through RunAlone, and a missing registry file does not stop it.
    virtual bool UsesRegistry(EPlatformFamily /*family*/) const { return true; }
    virtual ECliExit RunAlone(const SCliPlatform& /*platform*/, std::ostream& /*out*/,
                              std::ostream& /*err*/) {
        return ECliExit::Failed;
    }
};

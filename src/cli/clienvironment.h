#pragma once

#include "cliplatform.h"
#include "cliresult.h"
#include "hive.h"
#include "hiveservicemanager.h"
#include "processrunner.h"
#include "processscope.h"
#include "rootfilesystem.h"
#include "systemdservicemanager.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

class CCliMessageBox;

// What happens to a batch's changes when its command succeeded.
enum class EBatchEnd { Keep, Discard };

// What one qserctl invocation installs for the layers below: the platform family, the hive file
// as the current hive, the service control manager (the emulated one on the hive, or systemd on
// Linux), the Linux system's files under the root and the message box that prints. What was
// installed before comes back on destruction.
class CCliEnvironment {
public:
    // Throws CHiveError when the file cannot be used (with MustExist: when it is missing), also
    // when it is a Windows hive file and the family is not the one that keeps such files.
    CCliEnvironment(const SCliPlatform& platform, const std::string& path, EHiveOpen mode,
                    CCliMessageBox& messages, std::ostream& out, std::ostream& err);
    CCliEnvironment(const CCliEnvironment&) = delete;
    CCliEnvironment& operator=(const CCliEnvironment&) = delete;

    CHive& Hive() { return *m_pHive; }
    CHiveServiceManager& ServiceManager() { return m_serviceManager; }
    const CCliMessageBox& Messages() const { return m_messages; }
    // The references a configuration session installs on top of this environment.
    const SProcessReferences& References() const { return m_references; }

    // Runs a command inside one batch, so that it reaches the hive whole or not at all. The
    // batch commits only when end is Keep and the command neither failed, nor was refused, nor
    // met a question answered No. The messages raised inside the batch are printed when it
    // ends, before the command's own reason; its output follows on standard output. A command
    // that keeps nothing fails, naming the file and the reason, when a read could not use the
    // file.
    ECliExit RunBatch(EBatchEnd end, const std::function<SCliResult()>& command);
    // A reason a command cannot run at all, on standard error.
    void Error(const std::string& reason);

private:
    bool Keeps(const SCliResult& result) const;
    ECliExit StatusOf(const SCliResult& result) const;

    std::unique_ptr<CHive> m_pHive;
    CHiveServiceManager m_serviceManager;
    bool m_bLinux;
    CRootFileSystem m_files;
    CProcessRunner m_runner;
    CSystemdServiceManager m_systemd;
    CCliMessageBox& m_messages;
    std::ostream& m_out;
    std::ostream& m_err;
    const SProcessReferences m_references;
    CProcessScope m_scope;
};

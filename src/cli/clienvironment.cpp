#include "clienvironment.h"

#include "climessagebox.h"
#include "useraction.h"

#include <ostream>

CCliEnvironment::CCliEnvironment(const SCliPlatform& platform, const std::string& path,
                                 EHiveOpen mode, CCliMessageBox& messages, std::ostream& out,
                                 std::ostream& err)
    : m_pHive(CHive::Open(path, mode)), m_serviceManager(*m_pHive),
      m_bLinux(platform.family == EPlatformFamily::Linux), m_files(platform.root),
      m_systemd(m_files, m_runner), m_messages(messages), m_out(out),
      m_err(err), m_references{.hive = m_pHive.get(),
                               .messageBox = &m_messages,
                               .serviceControlManager =
                                   m_bLinux ? static_cast<IServiceControlManager*>(&m_systemd)
                                            : &m_serviceManager,
                               .rootFileSystem = &m_files,
                               .platformFamily = platform.family},
      m_scope(m_references) {
    m_pHive->CheckFamily(platform.family);
}

void CCliEnvironment::Error(const std::string& reason) {
    m_err << "qserctl: " << reason << '\n';
}

bool CCliEnvironment::Keeps(const SCliResult& result) const {
    return result.status == ECliExit::Success && result.bKeep && !m_messages.Declined();
}

ECliExit CCliEnvironment::StatusOf(const SCliResult& result) const {
    if (result.status == ECliExit::Refused) {
        return ECliExit::Refused;
    }
    if (m_messages.Declined()) {
        return ECliExit::Declined;
    }
    if (result.status == ECliExit::Failed || m_messages.ErrorShown()) {
        return ECliExit::Failed;
    }
    return ECliExit::Success;
}

ECliExit CCliEnvironment::RunBatch(EBatchEnd end, const std::function<SCliResult()>& command) {
    SCliResult result;
    {
        CUserAction action(m_pHive.get());
        result = command();
        if (end == EBatchEnd::Keep && Keeps(result) && !action.Commit()) {
            // What the command would print describes a change the store did not take.
            result.status = ECliExit::Failed;
            result.output.clear();
        }
    }
    if (end == EBatchEnd::Discard && !m_pHive->StoreFailure().empty()) {
        // A read that failed took a default without a word: nothing the command found can be
        // trusted, whatever it would have printed.
        result = SCliResult::Fail(m_pHive->StoreFailure());
    }
    if (!result.reason.empty()) {
        m_err << "qserctl: " << result.reason << '\n';
    }
    if (result.status == ECliExit::Success || !result.output.empty()) {
        m_out << result.output << std::flush;
    }
    return StatusOf(result);
}

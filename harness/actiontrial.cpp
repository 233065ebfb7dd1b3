#include "actiontrial.h"

#include "harnesssession.h"
#include "registrydump.h"

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {
void RemoveHive(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        fs::remove(path + suffix);
    }
}

void RunInChild(const SHarnessAction& action, const std::string& file,
                const std::function<void()>& arm, bool keepUnsynced, bool reportBefore,
                int reportFd) {
    CFaultVfs::Install();
    CFaultVfs::KeepUnsynced(keepUnsynced);
    {
        CHarnessSession session(file, action.family);
        if (!session.Start()) {
            CForkedRun::Report(reportFd, "start-failed");
            return;
        }
        if (action.setup) {
            action.setup(session);
        }
        session.Messages().Clear();
        // The setup may have written (a change left pending): the action starts from here.
        if (reportBefore) {
            CForkedRun::Report(reportFd, "before " + CRegistryDump::Dump(file));
        }
        arm();
        action.act(session);
        CForkedRun::Report(reportFd, "ack");
        for (const std::string& text : session.Messages().Texts()) {
            CForkedRun::Report(reportFd, "message " + text);
        }
    }
    std::string counts = "ops";
    for (std::uint64_t count : CFaultVfs::Operations()) {
        counts += " " + std::to_string(count);
    }
    CForkedRun::Report(reportFd, counts + " " + std::to_string(CFaultVfs::TotalOperations()));
}
} // namespace

CActionTrial::CActionTrial(std::string folder)
    : m_folder(std::move(folder)), m_trialFile(m_folder + "/trial.db") {
    fs::create_directories(m_folder);
}

std::string CActionTrial::Pristine(const SHarnessAction& action) {
    const std::string key = action.base + (action.family == EPlatformFamily::WindowsNT ? "" : "9x");
    auto found = m_pristine.find(key);
    if (found != m_pristine.end()) {
        return found->second;
    }
    const std::string file = m_folder + "/start-" + std::to_string(m_pristine.size()) + ".db";
    RemoveHive(file);
    {
        CHarnessSession session(file, action.family);
        if (!session.Start()) {
            throw std::runtime_error("harness: the empty hive does not load");
        }
        action.prepare(session);
    }
    return m_pristine[key] = file;
}

void CActionTrial::CopyFresh(const std::string& pristine) const {
    RemoveHive(m_trialFile);
    fs::copy_file(pristine, m_trialFile);
}

SChildReport CActionTrial::Run(const SHarnessAction& action, const std::string& pristine,
                               const std::function<void()>& arm, bool keepUnsynced) {
    return RunReporting(action, pristine, arm, keepUnsynced, false);
}

SChildReport CActionTrial::RunReporting(const SHarnessAction& action, const std::string& pristine,
                                        const std::function<void()>& arm, bool keepUnsynced,
                                        bool reportBefore) {
    CopyFresh(pristine);
    const std::string file = m_trialFile;
    return CForkedRun::Run([&action, &file, &arm, keepUnsynced, reportBefore](int reportFd) {
        RunInChild(action, file, arm, keepUnsynced, reportBefore, reportFd);
    });
}

SActionBaseline CActionTrial::Baseline(const SHarnessAction& action) {
    SActionBaseline baseline;
    baseline.pristine = Pristine(action);
    SChildReport clean = RunReporting(action, baseline.pristine, &CFaultVfs::Reset, false, true);
    std::vector<std::string> ops = clean.With("ops ");
    std::vector<std::string> before = clean.With("before ");
    if (!clean.exited || clean.status != 0 || ops.empty() || before.empty()) {
        throw std::runtime_error("harness: the clean run of '" + action.name + "' failed");
    }
    baseline.messages = clean.With("message ");
    baseline.before = before.front();
    std::size_t at = 0;
    for (std::size_t kind = 0; kind <= kFaultOpCount; ++kind) {
        std::size_t used = 0;
        std::uint64_t count = std::stoull(ops.front().substr(at), &used);
        at += used;
        (kind < kFaultOpCount ? baseline.counts[kind] : baseline.total) = count;
    }
    baseline.after = CRegistryDump::Inspect(m_trialFile).dump;
    return baseline;
}

#pragma once

#include "faultvfs.h"
#include "forkedrun.h"
#include "harnessaction.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// What a clean run of an action gives: the registry before and after it, the messages it
// showed and the file operations it made (the action and the end of its process).
struct SActionBaseline {
    std::string pristine;
    std::string before;
    std::string after;
    std::vector<std::string> messages;
    CFaultVfs::Counts counts{};
    std::uint64_t total = 0;
};

// Runs actions of the catalogue, each in a child process on a fresh copy of its starting file,
// with the fault shim installed. The child reports "ack" when the action has returned (before
// the hive is closed), the action's messages ("message TEXT") and its operation counts.
class CActionTrial {
public:
    explicit CActionTrial(std::string folder);

    // The starting file (built once per starting state) and a clean run on it. Throws
    // std::runtime_error when the clean run fails.
    SActionBaseline Baseline(const SHarnessAction& action);
    // One run; arm is called in the child just before the action.
    SChildReport Run(const SHarnessAction& action, const std::string& pristine,
                     const std::function<void()>& arm, bool keepUnsynced);
    const std::string& TrialFile() const { return m_trialFile; }

private:
    SChildReport RunReporting(const SHarnessAction& action, const std::string& pristine,
                              const std::function<void()>& arm, bool keepUnsynced,
                              bool reportBefore);
    std::string Pristine(const SHarnessAction& action);
    void CopyFresh(const std::string& pristine) const;

    std::string m_folder;
    std::string m_trialFile;
    std::map<std::string, std::string> m_pristine;
};

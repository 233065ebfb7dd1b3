// A commit reported as failed must stay failed: after a failed sync the write-ahead log may
// hold every frame of the commit, and the next open must not find the change there.
#include "actioncatalogue.h"
#include "actiontrial.h"
#include "registrydump.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {
class FailedCommitTest : public ::testing::TestWithParam<bool> {
protected:
    FailedCommitTest()
        : m_folder("/dev/shm/qser-failedcommit-test-" + std::to_string(getpid())),
          m_catalogue(m_folder + "/catalogue", 1) {}
    ~FailedCommitTest() override { std::filesystem::remove_all(m_folder); }

    const SHarnessAction& Action(const std::string& name) const {
        const auto& actions = m_catalogue.Actions();
        auto found = std::find_if(actions.begin(), actions.end(),
                                  [&name](const SHarnessAction& a) { return a.name == name; });
        EXPECT_NE(found, actions.end()) << name;
        return *found;
    }

    std::string m_folder;
    CActionCatalogue m_catalogue;
};

// Save writes a whole registration after earlier actions have left frames in the log.
TEST_P(FailedCommitTest, SaveReportedAsNotWrittenLeavesTheRegistryAsBefore) {
    const bool fromThenOn = GetParam();
    CActionTrial trial(m_folder + "/trial");
    const SHarnessAction& save = Action("save (NT)");
    SActionBaseline baseline = trial.Baseline(save);
    ASSERT_NE(baseline.before, baseline.after);

    SChildReport report = trial.Run(
        save, baseline.pristine,
        [fromThenOn] { CFaultVfs::ArmFault(EFaultOp::Sync, 1, fromThenOn); }, false);
    ASSERT_TRUE(report.exited);
    std::vector<std::string> messages = report.With("message ");
    ASSERT_NE(std::find(messages.begin(), messages.end(), "Unable to write to registry"),
              messages.end());
    SFileVerdict verdict = CRegistryDump::Inspect(trial.TrialFile());
    EXPECT_EQ(verdict.integrity, "ok");
    EXPECT_EQ(verdict.dump, baseline.before);
}

INSTANTIATE_TEST_SUITE_P(SyncFailing, FailedCommitTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? std::string("FromThenOn") : std::string("Once");
                         });
} // namespace

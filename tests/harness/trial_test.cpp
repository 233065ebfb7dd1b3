// The pipeline of the fault sweep must see a half-done action: an "action" made of two user
// actions, with the second one's writes failing, leaves a registry that is neither the one from
// before nor the one from after.
#include "actiontrial.h"
#include "harnesssession.h"
#include "qserdoc.h"
#include "registrydump.h"
#include "useraction.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
void AddBoard(CHarnessSession& session) {
    CQSERDoc& doc = session.Doc();
    CUserAction::Run([&doc] { doc.OnAddBoard(); });
}

TEST(ActionTrialTest, SeesAnActionThatCommitsInTwoParts) {
    const std::string folder = "/dev/shm/qser-trial-test-" + std::to_string(getpid());
    CActionTrial trial(folder);
    SHarnessAction twoParts{"two boards in two commits",
                            EPlatformFamily::WindowsNT,
                            "empty",
                            [](CHarnessSession&) {},
                            {},
                            [](CHarnessSession& session) {
                                AddBoard(session);
                                AddBoard(session);
                            }};
    SActionBaseline baseline = trial.Baseline(twoParts);
    ASSERT_NE(baseline.before, baseline.after);
    ASSERT_GE(baseline.counts[static_cast<std::size_t>(EFaultOp::Write)], 2u);

    // Some writes succeed, then every write fails: one of these cuts between the commits.
    std::uint64_t firstWrites = 0;
    bool halfDoneSeen = false;
    for (; firstWrites < baseline.counts[static_cast<std::size_t>(EFaultOp::Write)];
         ++firstWrites) {
        trial.Run(
            twoParts, baseline.pristine,
            [firstWrites] { CFaultVfs::ArmFault(EFaultOp::Write, firstWrites + 1, true); }, false);
        SFileVerdict verdict = CRegistryDump::Inspect(trial.TrialFile());
        EXPECT_EQ(verdict.integrity, "ok");
        halfDoneSeen |= verdict.dump != baseline.before && verdict.dump != baseline.after;
    }
    EXPECT_TRUE(halfDoneSeen);
    std::filesystem::remove_all(folder);
}
} // namespace

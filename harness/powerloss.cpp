// Power loss: every user action of the catalogue, with the power lost at each of its file
// operations in turn (and at those of closing the hive after it), five seeds each. Writes not
// yet synced are dropped, applied or torn per 512-byte sector. After each loss the file must
// open and pass integrity_check and hold the registry from before or after the action; after
// the action had returned, the one from after.
//
//   qser_powerloss [--short] [--count SEEDS] [--seed FIRST] [--folder DIR]
// --short takes two entries of each form setting instead of all of them; --count sets the
// number of seeds (default 5).
#include "actioncatalogue.h"
#include "actiontrial.h"
#include "harnessoptions.h"
#include "prooftally.h"
#include "registrydump.h"

#include <chrono>
#include <filesystem>

namespace {
void Check(CProofTally& tally, const std::string& what, const SChildReport& report,
           const SActionBaseline& baseline, const std::string& file) {
    SFileVerdict verdict = CRegistryDump::Inspect(file);
    tally.ExpectSound(what, verdict);
    bool before = verdict.dump == baseline.before;
    bool after = verdict.dump == baseline.after;
    if (!before && !after) {
        tally.Violation("half done", what);
    } else if (report.Has("ack") && !after) {
        tally.Violation("acknowledged action lost", what);
    }
    if (report.Has("ack")) {
        tally.Add("crashes after the acknowledgement");
    }
}

void Crash(CProofTally& tally, CActionTrial& trial, const SHarnessAction& action,
           std::uint32_t firstSeed, std::uint32_t seeds) {
    SActionBaseline baseline = trial.Baseline(action);
    tally.Add("actions");
    tally.Add("crash points", baseline.total);
    for (std::uint32_t seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        for (std::uint64_t nth = 1; nth <= baseline.total; ++nth) {
            std::string what = action.name + ", power lost at operation " + std::to_string(nth) +
                               ", seed " + std::to_string(seed);
            std::uint32_t mixed = seed * 7919u + static_cast<std::uint32_t>(nth);
            SChildReport report = trial.Run(
                action, baseline.pristine, [nth, mixed] { CFaultVfs::ArmCrash(nth, mixed); }, true);
            if (!report.exited || report.status != CFaultVfs::kCrashExitStatus) {
                tally.Violation("no power loss",
                                what + " ended with status " + std::to_string(report.status));
                continue;
            }
            tally.Add("crash trials");
            Check(tally, what, report, baseline, trial.TrialFile());
        }
    }
}
} // namespace

int main(int argc, char** argv) {
    auto started = std::chrono::steady_clock::now();
    SHarnessOptions options = SHarnessOptions::Parse(argc, argv, "powerloss");
    CProofTally tally("powerloss");
    auto seeds = static_cast<std::uint32_t>(options.count == 0 ? 5 : options.count);
    CActionCatalogue catalogue(options.folder, options.quick ? 2 : 0);
    CActionTrial trial(options.folder);
    for (const SHarnessAction& action : catalogue.Actions()) {
        try {
            Crash(tally, trial, action, options.seed, seeds);
        } catch (const std::exception& error) {
            tally.Violation("harness", action.name + ": " + error.what());
        }
    }
    std::filesystem::remove_all(options.folder);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    return tally.Print(elapsed.count());
}

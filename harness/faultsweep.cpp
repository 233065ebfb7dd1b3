// The I/O fault sweep: every user action of the catalogue, with the Nth write, sync, truncate,
// lock or delete failing (once, and from then on) for every N the action reaches. After each
// run the file must open and pass integrity_check, hold exactly the registry from before or
// after the action, and when it is the one from before, the person must have been told.
//
//   qser_faultsweep [--short] [--strict] [--folder DIR]
// A change kept although "Unable to write to registry" was shown is reported as a known
// finding; --strict (as scripts/proof runs it) fails on it. The store ends the frames that a
// commit with a failed sync leaves in the write-ahead log, so there should be none.
// --short tries two entries of each form setting instead of all of them.
#include "actioncatalogue.h"
#include "actiontrial.h"
#include "harnessoptions.h"
#include "prooftally.h"
#include "registrydump.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {
// A message the clean run did not show: what tells the person the action did not happen.
bool ToldOfFailure(const SChildReport& report, const SActionBaseline& baseline) {
    for (const std::string& text : report.With("message ")) {
        if (std::find(baseline.messages.begin(), baseline.messages.end(), text) ==
            baseline.messages.end()) {
            return true;
        }
    }
    return false;
}

void Check(CProofTally& tally, const std::string& what, const SChildReport& report,
           const SActionBaseline& baseline, const std::string& file, bool strict) {
    if (!report.exited || (report.status != 0)) {
        tally.Violation("crash", what + " ended with status " + std::to_string(report.status));
    }
    SFileVerdict verdict = CRegistryDump::Inspect(file);
    tally.ExpectSound(what, verdict);
    bool before = verdict.dump == baseline.before;
    bool after = verdict.dump == baseline.after;
    if (!before && !after) {
        tally.Violation("half done", what);
    } else if (!after && !ToldOfFailure(report, baseline)) {
        tally.Violation("silent failure", what);
    } else if (before != after) {
        tally.Add(after ? "outcome after" : "outcome before");
    }
    if (after && before != after && ToldOfFailure(report, baseline)) {
        tally.Known("kept although a failure was shown", what, strict);
    }
}

void Sweep(CProofTally& tally, CActionTrial& trial, const SHarnessAction& action, bool strict) {
    SActionBaseline baseline = trial.Baseline(action);
    tally.Add("actions");
    for (std::size_t kind = 0; kind < kFaultOpCount; ++kind) {
        auto op = static_cast<EFaultOp>(kind);
        tally.Add("fault points", baseline.counts[kind]);
        tally.Add(std::string("fault points ") + FaultOpName(op), baseline.counts[kind]);
        for (std::uint64_t nth = 1; nth <= baseline.counts[kind]; ++nth) {
            for (bool persistent : {false, true}) {
                std::string what = action.name + ", " + FaultOpName(op) + " " +
                                   std::to_string(nth) + (persistent ? " on" : " once");
                SChildReport report = trial.Run(
                    action, baseline.pristine,
                    [op, nth, persistent] { CFaultVfs::ArmFault(op, nth, persistent); }, false);
                tally.Add("trials");
                Check(tally, what, report, baseline, trial.TrialFile(), strict);
            }
        }
    }
}
} // namespace

int main(int argc, char** argv) {
    auto started = std::chrono::steady_clock::now();
    SHarnessOptions options = SHarnessOptions::Parse(argc, argv, "faultsweep");
    CProofTally tally("faultsweep");
    CActionCatalogue catalogue(options.folder, options.quick ? 2 : 0);
    CActionTrial trial(options.folder);
    for (const SHarnessAction& action : catalogue.Actions()) {
        try {
            Sweep(tally, trial, action, options.strict);
        } catch (const std::exception& error) {
            tally.Violation("harness", action.name + ": " + error.what());
        }
    }
    std::filesystem::remove_all(options.folder);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    return tally.Print(elapsed.count());
}

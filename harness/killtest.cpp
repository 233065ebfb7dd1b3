// kill -9: a writer process replays a script of user actions (both platform families), saying
// when it starts each and acknowledging each after it returned; the parent kills it 0 to 50 ms
// into a random action, and inside imports of 100,000 keys. After each kill the file must pass
// quick_check and open, and hold every acknowledged action and at most the one in flight:
// exactly the registry after the acknowledged steps, or after one more.
//
//   qser_killtest [--short] [--count KILLS] [--seed N] [--folder DIR]
// Default 10,000 kills and 40 kills inside the big import; --short 2,000 and 6.
#include "actionscript.h"
#include "forkedrun.h"
#include "harnessoptions.h"
#include "prooftally.h"
#include "regfilewriter.h"
#include "registrydump.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kScriptLength = 450;
constexpr int kMaxDelayUs = 50000;
constexpr int kBigImportKeys = 100000;

struct SWriter {
    std::string file;
    EPlatformFamily family;
    const CActionScript* script;
};

void RemoveHive(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        fs::remove(path + suffix);
    }
}

void Fresh(const std::string& pristine, const std::string& file) {
    RemoveHive(file);
    fs::copy_file(pristine, file);
}

// The writer: "start k" before step k, "ack k" once it has returned.
void Replay(const SWriter& writer, int reportFd) {
    std::unique_ptr<CHarnessSession> session;
    const std::vector<std::string>& steps = writer.script->Steps();
    for (std::size_t k = 0; k < steps.size(); ++k) {
        CForkedRun::Report(reportFd, "start " + std::to_string(k));
        CActionScript::Apply(session, writer.file, writer.family, steps[k]);
        CForkedRun::Report(reportFd, "ack " + std::to_string(k));
    }
}

// Reads the child's lines until one equals line (or the pipe closes); keeps what it read.
void WaitFor(int fd, const std::string& line, std::string& read) {
    char buffer[256];
    while (read.find(line + "\n") == std::string::npos) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count <= 0) {
            return;
        }
        read.append(buffer, static_cast<std::size_t>(count));
    }
}

void CheckFile(CProofTally& tally, const std::string& what, const std::string& file,
               const std::vector<std::string>& steps, const std::vector<std::string>& states,
               std::size_t acked) {
    SFileVerdict verdict = CRegistryDump::Inspect(file, true);
    tally.ExpectSound(what, verdict);
    if (verdict.dump == states[acked]) {
        return;
    }
    if (acked + 1 < states.size() && verdict.dump == states[acked + 1]) {
        tally.Add("kills with the action in flight kept");
        return;
    }
    for (std::size_t k = 0; k < acked; ++k) {
        if (verdict.dump == states[k]) {
            tally.Violation("acknowledged action lost", what + ": " + std::to_string(acked) +
                                                            " acknowledged, state of " +
                                                            std::to_string(k));
            return;
        }
    }
    std::string found = "no state of the script";
    for (std::size_t k = acked + 2; k < states.size(); ++k) {
        found = verdict.dump == states[k] ? "the state after step " + std::to_string(k) : found;
    }
    tally.Violation("half done", what + ": " + std::to_string(acked) + " acknowledged, " +
                                     (acked < steps.size() ? "in flight '" + steps[acked] + "'"
                                                           : "none in flight") +
                                     ", holds " + found);
}

// Returns whether the writer was killed (rather than done before the kill came).
bool KillDuringScript(CProofTally& tally, const SWriter& writer, const std::string& pristine,
                      std::mt19937& random, std::uint64_t trial) {
    const std::size_t steps = writer.script->Steps().size();
    // The last two thirds of the script are there for the 50 ms after a late target.
    const std::size_t target = random() % (steps / 3);
    const int delayUs = static_cast<int>(random() % (kMaxDelayUs + 1));
    Fresh(pristine, writer.file);
    int fd = -1;
    int pid = CForkedRun::Start([&writer](int reportFd) { Replay(writer, reportFd); }, fd);
    std::string early;
    WaitFor(fd, "start " + std::to_string(target), early);
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
    kill(pid, SIGKILL);
    SChildReport report = CForkedRun::Finish(pid, fd, early);
    if (report.exited) {
        tally.Add("writers done before the kill");
    } else {
        tally.Add("kills");
    }
    tally.Add("actions acknowledged", report.With("ack ").size());
    CheckFile(tally,
              "kill " + std::to_string(trial) + " at step " + std::to_string(target) + " + " +
                  std::to_string(delayUs) + " us",
              writer.file, writer.script->Steps(), writer.script->States(),
              report.With("ack ").size());
    return !report.exited;
}

std::string BigImportFile(const std::string& folder) {
    const std::string path = folder + "/big.reg";
    std::ofstream out(path, std::ios::binary);
    out << "REGEDIT4\r\n\r\n";
    char line[128];
    for (int key = 0; key < kBigImportKeys; ++key) {
        std::snprintf(
            line, sizeof line,
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QSERBulk\\K%03d\\K%06d]\r\n\"Value\"=dword:%08x"
            "\r\n\r\n",
            key / 1000, key, key);
        out << line;
    }
    return path;
}

// Kills inside one long import: the file holds all of it or none of it.
void KillDuringImport(CProofTally& tally, const std::string& pristine, const std::string& file,
                      const std::string& bigFile, std::chrono::microseconds duration,
                      const std::vector<std::string>& states, std::mt19937& random, int trial) {
    const SWriter writer{file, EPlatformFamily::WindowsNT, nullptr};
    Fresh(pristine, file);
    auto delay = std::chrono::microseconds(random() % (duration.count() + 1));
    int fd = -1;
    int pid = CForkedRun::Start(
        [&writer, &bigFile](int reportFd) {
            std::unique_ptr<CHarnessSession> session;
            CForkedRun::Report(reportFd, "start 0");
            CActionScript::Apply(session, writer.file, writer.family, "import " + bigFile);
            CForkedRun::Report(reportFd, "ack 0");
        },
        fd);
    std::string early;
    WaitFor(fd, "start 0", early);
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    SChildReport report = CForkedRun::Finish(pid, fd, early);
    tally.Add(report.exited ? "imports done before the kill" : "kills inside a 100,000-key import");
    CheckFile(tally, "import kill " + std::to_string(trial), file, {"import " + bigFile}, states,
              report.With("ack ").size());
}

std::string MakePristine(const std::string& folder) {
    const std::string file = folder + "/start.db";
    RemoveHive(file);
    CHarnessSession session(file, EPlatformFamily::WindowsNT);
    session.Start();
    return file;
}

// A small configuration's export, for the script's import steps.
std::string SmallImportFile(const std::string& folder, std::uint32_t seed) {
    const std::string hive = folder + "/small.db";
    RemoveHive(hive);
    CActionScript::Record(hive, EPlatformFamily::WindowsNT, 20, seed, {});
    CHarnessSession session(hive, EPlatformFamily::WindowsNT);
    std::string text;
    CRegFileWriter(session.Hive()).Write("SYSTEM\\CurrentControlSet\\Services\\QSERDRV", text);
    const std::string path = folder + "/small.reg";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

void BigImports(CProofTally& tally, const std::string& folder, const std::string& pristine,
                int count, std::mt19937& random) {
    const std::string file = folder + "/import.db";
    const std::string bigFile = BigImportFile(folder);
    std::vector<std::string> states{CRegistryDump::Dump(pristine)};
    Fresh(pristine, file);
    auto started = std::chrono::steady_clock::now();
    {
        std::unique_ptr<CHarnessSession> session;
        CActionScript::Apply(session, file, EPlatformFamily::WindowsNT, "import " + bigFile);
    }
    auto duration = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    states.push_back(CRegistryDump::Dump(file));
    tally.Add("big import ms", static_cast<std::uint64_t>(duration.count() / 1000));
    for (int trial = 0; trial < count; ++trial) {
        KillDuringImport(tally, pristine, file, bigFile, duration, states, random, trial);
    }
}
} // namespace

int main(int argc, char** argv) {
    auto started = std::chrono::steady_clock::now();
    SHarnessOptions options = SHarnessOptions::Parse(argc, argv, "killtest");
    CProofTally tally("killtest");
    fs::create_directories(options.folder);
    std::uint64_t kills = options.count != 0 ? options.count : options.quick ? 2000 : 10000;
    try {
        const std::string pristine = MakePristine(options.folder);
        const std::string importFile = SmallImportFile(options.folder, options.seed);
        std::vector<CActionScript> scripts;
        std::vector<std::string> files;
        for (EPlatformFamily family : {EPlatformFamily::WindowsNT, EPlatformFamily::Windows9x}) {
            const std::string recording = options.folder + "/recording.db";
            Fresh(pristine, recording);
            scripts.push_back(CActionScript::Record(
                recording, family, kScriptLength,
                options.seed + static_cast<std::uint32_t>(scripts.size()), importFile));
        }
        std::mt19937 random(options.seed);
        const std::string file = options.folder + "/kill.db";
        for (std::uint64_t trial = 0, killed = 0; killed < kills; ++trial) {
            auto family = trial % 2 == 0 ? EPlatformFamily::WindowsNT : EPlatformFamily::Windows9x;
            const SWriter writer{file, family, &scripts[trial % 2]};
            killed += KillDuringScript(tally, writer, pristine, random, trial) ? 1 : 0;
        }
        BigImports(tally, options.folder, pristine, options.quick ? 6 : 40, random);
    } catch (const std::exception& error) {
        tally.Violation("harness", error.what());
    }
    fs::remove_all(options.folder);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    return tally.Print(elapsed.count());
}

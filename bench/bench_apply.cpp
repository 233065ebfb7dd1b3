// qserctl apply of the largest legal configuration (10 RX-408 boards of 8 ports), as one user
// action: onto an empty registry (everything added, one commit) and onto a registry that already
// holds it (nothing to do, nothing written). The registries are made by qserctl itself, on
// /dev/shm so that the figure is the code's, not the disk's.
#include "configurationsource.h"
#include "desiredstateaction.h"
#include "hive.h"
#include "hiveservicemanager.h"
#include "processscope.h"
#include "recordingmessagebox.h"
#include "useraction.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {
constexpr int kBoards = 10;

void Run(const std::string& command) {
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        throw std::runtime_error("failed: " + command);
    }
}

std::string Qserctl(const std::string& registry) {
    return std::string(QSERCTL) + " --registry '" + registry + "' --yes ";
}

// The largest configuration, made once for the whole run and removed at exit.
class CApplyRegistries {
public:
    CApplyRegistries() {
        std::string folder = "/dev/shm/qser-bench-apply-XXXXXX";
        if (mkdtemp(folder.data()) == nullptr) {
            throw std::runtime_error("cannot create a folder in /dev/shm");
        }
        m_folder = folder;
        for (int b = 0; b < kBoards; ++b) {
            char board[16];
            std::snprintf(board, sizeof board, "Board%03d", b);
            Run(Qserctl(Large()) + "add-board BoardType=RX-408");
            Run(Qserctl(Large()) + "add-port " + board);
        }
        m_desired = CConfigurationSource::Read(Large(), EPlatformFamily::WindowsNT);
    }
    ~CApplyRegistries() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    std::string Large() const { return m_folder + "/large.db"; }
    std::string Target() const { return m_folder + "/target.db"; }
    const nlohmann::ordered_json& Desired() const { return m_desired; }

private:
    std::string m_folder;
    nlohmann::ordered_json m_desired;
};

const CApplyRegistries& Registries() {
    static const CApplyRegistries registries;
    return registries;
}

// One apply as qserctl runs it; whether it wrote.
bool ApplyOnce(const std::string& path, const nlohmann::ordered_json& desired) {
    std::unique_ptr<CHive> hive = CHive::Open(path, EHiveOpen::CreateIfMissing);
    CHiveServiceManager services(*hive);
    CRecordingMessageBox messages;
    messages.SetDefaultAnswer(EMsgResult::Yes);
    const SProcessReferences references{.hive = hive.get(),
                                        .messageBox = &messages,
                                        .serviceControlManager = &services,
                                        .platformFamily = EPlatformFamily::WindowsNT};
    CProcessScope scope(references);
    CUserAction action(hive.get());
    const SApplyReport report =
        CDesiredStateAction::Run(references, desired, {.bAllowProblems = true});
    if (report.refusal) {
        throw std::runtime_error(*report.refusal);
    }
    return report.Keep() && action.Commit();
}

void BM_Apply(benchmark::State& state) {
    const bool identical = state.range(0) != 0;
    try {
        const CApplyRegistries& registries = Registries();
        std::size_t written = 0;
        for (auto _ : state) {
            state.PauseTiming();
            std::filesystem::remove(registries.Target());
            std::filesystem::remove(registries.Target() + "-wal");
            std::filesystem::remove(registries.Target() + "-shm");
            if (identical) {
                std::filesystem::copy_file(registries.Large(), registries.Target());
            }
            state.ResumeTiming();
            written += ApplyOnce(registries.Target(), registries.Desired()) ? 1 : 0;
        }
        state.counters["commits"] =
            benchmark::Counter(static_cast<double>(written), benchmark::Counter::kAvgIterations);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}
BENCHMARK(BM_Apply)->ArgName("identical")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();

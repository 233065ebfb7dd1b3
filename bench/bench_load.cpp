// The load at start-up, as `qserctl show` runs it (bench/load_cost.sh counts its instructions):
// open the file for reading and build the configuration inside one batch. On the largest legal
// configuration (10 RX-408 boards of 8 ports) beside 1,000 keys under Serial\Parameters that are
// not the system's, and on an empty configuration. The registries are made by qserctl itself, on
// /dev/shm so that the figure is the code's, not the disk's.
#include "hive.h"
#include "hivebatch.h"
#include "platformfamily.h"
#include "processscope.h"
#include "qserdoc.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {
constexpr int kBoards = 10;
constexpr int kForeignKeys = 1000;

void Run(const std::string& command) {
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        throw std::runtime_error("failed: " + command);
    }
}

std::string Qserctl(const std::string& registry) {
    return std::string(QSERCTL) + " --registry '" + registry + "' --yes ";
}

void WriteForeignKeys(const std::string& regFile) {
    std::ofstream out(regFile);
    out << "REGEDIT4\n";
    for (int i = 0; i < kForeignKeys; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "Other%03d", i);
        out << "\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\"
            << key << "]\n\"DosDevices\"=\"COM" << 100 + i
            << "\"\n\"PortAddress\"=dword:000003f8\n";
    }
}

// The two registries, made once for the whole run and removed at exit.
class CLoadRegistries {
public:
    CLoadRegistries() {
        std::string folder = "/dev/shm/qser-bench-load-XXXXXX";
        if (mkdtemp(folder.data()) == nullptr) {
            throw std::runtime_error("cannot create a folder in /dev/shm");
        }
        m_folder = folder;
        Run(Qserctl(Empty()) + "new");
        for (int b = 0; b < kBoards; ++b) {
            char board[16];
            std::snprintf(board, sizeof board, "Board%03d", b);
            Run(Qserctl(Large()) + "add-board BoardType=RX-408");
            Run(Qserctl(Large()) + "add-port " + board);
        }
        WriteForeignKeys(m_folder + "/foreign.reg");
        Run(Qserctl(Large()) + "import '" + m_folder + "/foreign.reg'");
    }
    ~CLoadRegistries() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    std::string Empty() const { return m_folder + "/empty.db"; }
    std::string Large() const { return m_folder + "/large.db"; }

private:
    std::string m_folder;
};

const CLoadRegistries& Registries() {
    static const CLoadRegistries registries;
    return registries;
}

void BM_Load(benchmark::State& state) {
    const bool large = state.range(0) != 0;
    std::string path;
    try {
        path = large ? Registries().Large() : Registries().Empty();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    std::string boards;
    for (auto _ : state) {
        std::unique_ptr<CHive> hive = CHive::Open(path, EHiveOpen::ForReading);
        CProcessScope scope(
            SProcessReferences{.hive = hive.get(), .platformFamily = EPlatformFamily::WindowsNT});
        CHiveBatch batch(hive.get());
        CQSERDoc document;
        benchmark::DoNotOptimize(document.OnNewDocument());
        batch.Commit();
        boards = document.GetNumBoards();
    }
    state.counters["boards"] = std::stod(boards);
}
BENCHMARK(BM_Load)->ArgName("large")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();

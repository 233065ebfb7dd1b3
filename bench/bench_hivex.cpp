// The Windows hive file store on a SYSTEM hive of realistic size (about 20 MB): one pick of a
// form (a writing transaction with one DWORD, committed: the whole file written, synced and
// renamed), and what loading the configuration reads. On a file on disk and on /dev/shm.
#include "hive.h"
#include "hivebatch.h"
#include "hivepath.h"
#include "hivexstore.h"
#include "registry.h"
#include "testhivefile.h"
#include "testhivex.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {
constexpr const char* kDriver = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Parameters";
constexpr std::size_t kBulkServices = 2000;
constexpr int kBoards = 16;

enum EStorage { kDisk = 0, kShm = 1 };

std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> names;
    CHivePath::Split(path, names);
    return names;
}

// One hive file per storage for the whole run, removed at exit.
class CBenchHives {
public:
    CBenchHives() {
        m_folders[kDisk] = Make("/var/tmp/qser-bench-hivex-XXXXXX");
        m_folders[kShm] = Make("/dev/shm/qser-bench-hivex-XXXXXX");
    }
    ~CBenchHives() {
        for (const std::string& folder : m_folders) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }
    const std::string& Hive(EStorage storage) {
        std::string& hive = m_hives[storage];
        if (hive.empty()) {
            hive = m_folders[storage] + "/SYSTEM";
            Build(hive);
        }
        return hive;
    }

private:
    static std::string Make(std::string pattern) {
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create " + pattern);
        }
        return pattern;
    }
    // The services of an installation, and the driver key with boards as QSER writes them.
    static void Build(const std::string& path) {
        CTestHiveFile::WriteSystem(path, {1, true, true, kBulkServices});
        CTestHivex hive(path, true);
        const std::string driver = "ControlSet001\\Services\\QSERDRV\\Parameters";
        for (int board = 0; board < kBoards; ++board) {
            char name[16];
            std::snprintf(name, sizeof name, "\\Board%03d", board);
            for (const char* value : {"BoardType", "IoBase", "Irq", "Ports", "FirstPort"}) {
                hive.SetDword(driver + name, value, static_cast<std::uint32_t>(board));
            }
            hive.SetText(driver + name, "Name", 1, u"QSER 8-port adapter");
        }
        hive.Commit();
    }
    std::string m_folders[2];
    std::string m_hives[2];
};

CBenchHives& Hives() {
    static CBenchHives hives;
    return hives;
}

std::unique_ptr<CHivexStore> OpenStore(const std::string& path) {
    std::string readOnlyReason;
    return CHivexStore::Open(path, EHiveOpen::MustExist, readOnlyReason);
}

void BM_HivexPick(benchmark::State& state) {
    const std::string& path = Hives().Hive(static_cast<EStorage>(state.range(0)));
    std::unique_ptr<CHivexStore> store = OpenStore(path);
    const std::vector<std::string> board = Split(std::string(kDriver) + "\\Board000");
    std::uint32_t irq = 0;
    for (auto _ : state) {
        if (!store->Begin(true)) {
            state.SkipWithError(store->FailureReason().c_str());
            break;
        }
        HiveKeyId key = 0;
        store->FindPath(0, board, key);
        ++irq;
        store->WriteValue(
            key, "Irq", REG_DWORD,
            {static_cast<std::uint8_t>(irq), static_cast<std::uint8_t>(irq >> 8), 0, 0});
        if (!store->Commit()) {
            state.SkipWithError(store->FailureReason().c_str());
            break;
        }
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_HivexPick)->Arg(kDisk)->Arg(kShm)->Unit(benchmark::kMillisecond);

// The same pick through the registry API on each store: the 20 MB hive file (store 1), or our
// own SQLite file holding the driver key (store 0), both in the same folder.
void BM_Pick(benchmark::State& state) {
    const auto storage = static_cast<EStorage>(state.range(1));
    std::string path = Hives().Hive(storage);
    if (state.range(0) == 0) {
        path = std::filesystem::path(path).parent_path() / "registry.db";
    }
    std::unique_ptr<CHive> hive = CHive::Open(path);
    const std::string board = std::string(kDriver) + "\\Board000";
    std::uint32_t irq = 0;
    for (auto _ : state) {
        CHiveBatch batch(hive.get());
        CRegistry registry(*hive);
        registry.OpenKey(board, "", KEY_ALL_ACCESS, 0);
        registry.WriteValue("Irq", ++irq);
        if (batch.Commit() != ECommitStatus::Committed) {
            state.SkipWithError("the pick was not written");
            break;
        }
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Pick)
    ->ArgNames({"hivefile", "shm"})
    ->ArgsProduct({{0, 1}, {kDisk, kShm}})
    ->Unit(benchmark::kMillisecond);

// Opening the file and reading what the configuration load reads: the driver key's boards with
// their values, and the serial service's values and instance keys.
void BM_HivexLoad(benchmark::State& state) {
    const std::string& path = Hives().Hive(static_cast<EStorage>(state.range(0)));
    const std::vector<std::string> driver = Split(kDriver);
    const std::vector<std::string> serial = Split("SYSTEM\\CurrentControlSet\\Services\\Serial");
    for (auto _ : state) {
        std::unique_ptr<CHivexStore> store = OpenStore(path);
        store->Begin(false);
        HiveKeyId key = 0;
        store->FindPath(0, driver, key);
        std::vector<std::string> boards;
        store->SubKeyNames(key, boards);
        std::vector<SHiveValue> values;
        for (const std::string& name : boards) {
            std::vector<std::string> names = driver;
            names.push_back(name);
            HiveKeyId board = 0;
            store->FindPath(0, names, board);
            store->Values(board, values, nullptr);
        }
        store->FindPath(0, serial, key);
        store->Values(key, values, nullptr);
        store->SubKeyNames(key, boards);
        store->Commit();
        benchmark::DoNotOptimize(values);
    }
}
BENCHMARK(BM_HivexLoad)->Arg(kDisk)->Arg(kShm)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();

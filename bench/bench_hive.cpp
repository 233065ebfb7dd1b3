// The hive against the floor SQLite sets for the same work: enumerating the sub-keys of one key
// (CRegistry::EunmKey by index vs one raw cursor) and one committed user action of ten value
// writes (CHiveBatch vs one raw transaction), each on a file on disk and on /dev/shm.
#include "hive.h"
#include "hivebatch.h"
#include "registry.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <utility>

namespace {
constexpr const char* kParent = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Many";
constexpr const char* kBoardKey = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Board000";
constexpr int kWritesPerAction = 10;

enum EStorage { kDisk = 0, kShm = 1 };

// One folder per storage for the whole run, removed at exit.
class CBenchFolders {
public:
    CBenchFolders() {
        m_folders[kDisk] = Make("/var/tmp/qser-bench-XXXXXX");
        m_folders[kShm] = Make("/dev/shm/qser-bench-XXXXXX");
    }
    ~CBenchFolders() {
        for (const std::string& folder : m_folders) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }
    const std::string& Folder(EStorage storage) const { return m_folders[storage]; }

private:
    static std::string Make(std::string pattern) {
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create " + pattern);
        }
        return pattern;
    }
    std::string m_folders[2];
};

CBenchFolders& Folders() {
    static CBenchFolders folders;
    return folders;
}

// A hive whose kParent key has n sub-keys, built once per (storage, n).
CHive& EnumerationHive(EStorage storage, int count) {
    static std::map<std::pair<int, int>, std::unique_ptr<CHive>> hives;
    std::unique_ptr<CHive>& hive = hives[{storage, count}];
    if (!hive) {
        hive = CHive::Open(Folders().Folder(storage) + "/enum" + std::to_string(count) + ".db");
        CHiveBatch batch(hive.get());
        HiveKeyId key = 0;
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "\\Port%06d", (i * 7919) % count);
            hive->CreateKey(kParent + std::string(name), key);
        }
        batch.Commit();
    }
    return *hive;
}

// A raw connection with the hive's settings, as the floor.
class CRawConnection {
public:
    explicit CRawConnection(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &m_pDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            throw std::runtime_error("cannot open " + path);
        }
        Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA trusted_schema=OFF");
    }
    ~CRawConnection() { sqlite3_close_v2(m_pDb); }
    void Exec(const char* sql) { sqlite3_exec(m_pDb, sql, nullptr, nullptr, nullptr); }
    sqlite3_stmt* Prepare(const char* sql) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_pDb, sql, -1, &stmt, nullptr);
        return stmt;
    }

private:
    sqlite3* m_pDb = nullptr;
};

HiveKeyId KeyId(CHive& hive, const char* path) {
    HiveKeyId key = 0;
    hive.CreateKey(path, key);
    return key;
}

void PerItem(benchmark::State& state, std::int64_t itemsPerIteration) {
    state.SetItemsProcessed(state.iterations() * itemsPerIteration);
    state.counters["per_item"] =
        benchmark::Counter(static_cast<double>(state.iterations() * itemsPerIteration),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_EunmKey(benchmark::State& state) {
    auto storage = static_cast<EStorage>(state.range(0));
    int count = static_cast<int>(state.range(1));
    CHive& hive = EnumerationHive(storage, count);
    for (auto _ : state) {
        CRegistry registry(hive);
        registry.OpenKey(kParent, "", KEY_ALL_ACCESS, 1);
        char name[80];
        std::uint32_t index = 0;
        for (;; ++index) {
            std::uint32_t size = sizeof name;
            if (registry.EunmKey(index, name, size) != ERROR_SUCCESS) {
                break;
            }
            benchmark::DoNotOptimize(name);
        }
        if (index != static_cast<std::uint32_t>(count)) {
            state.SkipWithError("wrong number of sub-keys");
        }
    }
    PerItem(state, count);
}

void BM_EunmKeyInBatch(benchmark::State& state) {
    auto storage = static_cast<EStorage>(state.range(0));
    int count = static_cast<int>(state.range(1));
    CHive& hive = EnumerationHive(storage, count);
    for (auto _ : state) {
        CHiveBatch batch(&hive);
        CRegistry registry(hive);
        registry.OpenKey(kParent, "", KEY_ALL_ACCESS, 1);
        char name[80];
        std::uint32_t size = sizeof name;
        for (std::uint32_t index = 0; registry.EunmKey(index, name, size) == ERROR_SUCCESS;
             ++index) {
            size = sizeof name;
            benchmark::DoNotOptimize(name);
        }
        batch.Commit();
    }
    PerItem(state, count);
}

void BM_EnumerationFloor(benchmark::State& state) {
    auto storage = static_cast<EStorage>(state.range(0));
    int count = static_cast<int>(state.range(1));
    CHive& hive = EnumerationHive(storage, count);
    HiveKeyId parent = KeyId(hive, kParent);
    CRawConnection raw(hive.Path());
    sqlite3_stmt* cursor = raw.Prepare("SELECT name FROM keys WHERE parent = ?1 ORDER BY name");
    for (auto _ : state) {
        sqlite3_bind_int64(cursor, 1, parent);
        char name[80];
        while (sqlite3_step(cursor) == SQLITE_ROW) {
            std::memcpy(name, sqlite3_column_text(cursor, 0), sqlite3_column_bytes(cursor, 0) + 1);
            benchmark::DoNotOptimize(name);
        }
        sqlite3_reset(cursor);
    }
    sqlite3_finalize(cursor);
    PerItem(state, count);
}

std::unique_ptr<CHive> ActionHive(EStorage storage, const char* name) {
    std::string path = Folders().Folder(storage) + "/" + name;
    std::filesystem::remove(path);
    std::unique_ptr<CHive> hive = CHive::Open(path);
    CRegistry registry(*hive);
    registry.OpenKey(kBoardKey, "", KEY_ALL_ACCESS, 0);
    for (int i = 0; i < kWritesPerAction; ++i) {
        registry.WriteValue("Value" + std::to_string(i), std::string("0x2d0"));
    }
    return hive;
}

const char* Text(std::int64_t iteration) {
    return iteration % 2 == 0 ? "0x2d0" : "0x2e8";
}

void BM_BatchAction(benchmark::State& state) {
    auto storage = static_cast<EStorage>(state.range(0));
    std::unique_ptr<CHive> hive = ActionHive(storage, "action.db");
    std::int64_t iteration = 0;
    for (auto _ : state) {
        CHiveBatch batch(hive.get());
        CRegistry registry(*hive);
        registry.OpenKey(kBoardKey, "", KEY_ALL_ACCESS, 1);
        for (int i = 0; i < kWritesPerAction; ++i) {
            registry.WriteValue("Value" + std::to_string(i), std::string(Text(iteration)));
        }
        if (batch.Commit() != ECommitStatus::Committed) {
            state.SkipWithError("commit failed");
        }
        ++iteration;
    }
}

void BM_BatchActionFloor(benchmark::State& state) {
    auto storage = static_cast<EStorage>(state.range(0));
    std::unique_ptr<CHive> hive = ActionHive(storage, "floor.db");
    HiveKeyId key = KeyId(*hive, kBoardKey);
    CRawConnection raw(hive->Path());
    sqlite3_stmt* upsert =
        raw.Prepare("INSERT INTO vals(key, name, type, data, seq) VALUES(?1, ?2, 1, ?3, ?4) "
                    "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, "
                    "data = excluded.data");
    std::int64_t iteration = 0;
    for (auto _ : state) {
        raw.Exec("BEGIN IMMEDIATE");
        for (int i = 0; i < kWritesPerAction; ++i) {
            std::string name = "Value" + std::to_string(i);
            const char* text = Text(iteration);
            sqlite3_bind_int64(upsert, 1, key);
            sqlite3_bind_text(upsert, 2, name.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_blob(upsert, 3, text, static_cast<int>(std::strlen(text) + 1),
                              SQLITE_STATIC);
            sqlite3_bind_int64(upsert, 4, i + 1);
            sqlite3_step(upsert);
            sqlite3_reset(upsert);
        }
        raw.Exec("COMMIT");
        ++iteration;
    }
    sqlite3_finalize(upsert);
}

void EnumerationArgs(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"shm", "n"});
    for (int storage : {kDisk, kShm}) {
        for (int count : {1000, 100000}) {
            bench->Args({storage, count});
        }
    }
}
} // namespace

BENCHMARK(BM_EunmKey)->Apply(EnumerationArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EunmKeyInBatch)->Apply(EnumerationArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnumerationFloor)->Apply(EnumerationArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchAction)->ArgName("shm")->Arg(kDisk)->Arg(kShm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BatchActionFloor)
    ->ArgName("shm")
    ->Arg(kDisk)
    ->Arg(kShm)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

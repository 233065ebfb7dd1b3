// The shim must really fail and really lose data, or the harnesses built on it prove nothing.
// Each case runs in a child process: the shim's state is process-wide and a power loss ends
// the process.
#include "faultvfs.h"
#include "forkedrun.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
class FaultVfsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = "/dev/shm/qser-faultvfs-test-" + std::to_string(getpid()) + ".db";
        Remove();
    }
    void TearDown() override { Remove(); }

    void Remove() const {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
            std::filesystem::remove(m_path + suffix);
        }
    }

    // Opens the file through the default VFS (the shim once installed), in WAL mode.
    static sqlite3* Open(const std::string& path, const char* synchronous) {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        sqlite3_exec(db, (std::string("PRAGMA synchronous=") + synchronous).c_str(), nullptr,
                     nullptr, nullptr);
        sqlite3_exec(db, "CREATE TABLE IF NOT EXISTS t(x)", nullptr, nullptr, nullptr);
        return db;
    }

    static int Insert(sqlite3* db, int x) {
        return sqlite3_exec(db, ("INSERT INTO t VALUES(" + std::to_string(x) + ")").c_str(),
                            nullptr, nullptr, nullptr);
    }

    int Rows() const {
        sqlite3* db = nullptr;
        sqlite3_open_v2(m_path.c_str(), &db, SQLITE_OPEN_READWRITE, "unix");
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM t", -1, &statement, nullptr);
        int rows = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return rows;
    }

    // Commits inserts one by one, acknowledging each, until the power goes at operation nth.
    SChildReport CrashWhileInserting(const char* synchronous, std::uint64_t nth,
                                     std::uint32_t seed) const {
        const std::string path = m_path;
        return CForkedRun::Run([path, synchronous, nth, seed](int reportFd) {
            CFaultVfs::Install();
            CFaultVfs::KeepUnsynced(true);
            sqlite3* db = Open(path, synchronous);
            CFaultVfs::ArmCrash(nth, seed);
            for (int x = 0; x < 100; ++x) {
                if (Insert(db, x) == SQLITE_OK) {
                    CForkedRun::Report(reportFd, "ack");
                }
            }
            sqlite3_close(db);
        });
    }

    std::string m_path;
};

TEST_F(FaultVfsTest, FailsTheNthWriteOnceOrFromThenOn) {
    const std::string path = m_path;
    for (bool persistent : {false, true}) {
        SChildReport report = CForkedRun::Run([path, persistent](int reportFd) {
            CFaultVfs::Install();
            sqlite3* db = Open(path, "FULL");
            CFaultVfs::ArmFault(EFaultOp::Write, 1, persistent);
            for (int x = 0; x < 3; ++x) {
                CForkedRun::Report(reportFd, Insert(db, x) == SQLITE_OK ? "ok" : "failed");
            }
            CForkedRun::Report(reportFd, "writes " + std::to_string(CFaultVfs::Operations()[0]));
            sqlite3_close(db);
        });
        ASSERT_TRUE(report.exited);
        std::vector<std::string> expected = persistent
                                                ? std::vector<std::string>{"failed", "failed"}
                                                : std::vector<std::string>{"failed", "ok"};
        EXPECT_EQ(report.lines[0], expected[0]) << "persistent " << persistent;
        EXPECT_EQ(report.lines[1], expected[1]) << "persistent " << persistent;
        Remove();
    }
}

TEST_F(FaultVfsTest, FailsLocksSyncsAndDeletes) {
    const std::string path = m_path;
    for (EFaultOp op : {EFaultOp::Sync, EFaultOp::Lock}) {
        SChildReport report = CForkedRun::Run([path, op](int reportFd) {
            CFaultVfs::Install();
            sqlite3* db = Open(path, "FULL");
            CFaultVfs::ArmFault(op, 1, true);
            CForkedRun::Report(reportFd, Insert(db, 1) == SQLITE_OK ? "ok" : "failed");
            sqlite3_close(db);
        });
        EXPECT_EQ(report.lines, std::vector<std::string>{"failed"}) << FaultOpName(op);
        Remove();
    }
}

// Without syncs a power loss must cost acknowledged commits for some seed: the shim drops
// what was never synced. With the pragma the hive ships, none may be lost.
TEST_F(FaultVfsTest, PowerLossDropsWhatWasNeverSynced) {
    int lostWithoutSync = 0;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        SChildReport report = CrashWhileInserting("OFF", 150, seed);
        ASSERT_EQ(report.status, CFaultVfs::kCrashExitStatus);
        int acked = static_cast<int>(report.With("ack").size());
        int rows = Rows();
        lostWithoutSync += rows < acked ? 1 : 0;
        Remove();
    }
    EXPECT_GT(lostWithoutSync, 0);
}

// A truncation never synced can be undone by the power loss, as a write can.
TEST_F(FaultVfsTest, PowerLossCanBringBackWhatAnUnsyncedTruncationCutOff) {
    std::set<std::uintmax_t> sizes;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const std::string path = m_path;
        SChildReport report = CForkedRun::Run([path, seed](int) {
            CFaultVfs::Install();
            CFaultVfs::KeepUnsynced(true);
            sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
            std::vector<char> storage(static_cast<std::size_t>(vfs->szOsFile));
            auto* file = reinterpret_cast<sqlite3_file*>(storage.data());
            int flags = SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_CREATE | SQLITE_OPEN_READWRITE;
            vfs->xOpen(vfs, path.c_str(), file, flags, &flags);
            const std::string bytes(4096, 'a');
            file->pMethods->xWrite(file, bytes.data(), 4096, 0);
            file->pMethods->xSync(file, SQLITE_SYNC_NORMAL);
            file->pMethods->xTruncate(file, 1024);
            CFaultVfs::ArmCrash(1, seed);
            file->pMethods->xSync(file, SQLITE_SYNC_NORMAL); // the power goes first
        });
        ASSERT_EQ(report.status, CFaultVfs::kCrashExitStatus);
        sizes.insert(std::filesystem::file_size(m_path));
        Remove();
    }
    EXPECT_EQ(sizes, (std::set<std::uintmax_t>{1024, 4096}));
}

TEST_F(FaultVfsTest, PowerLossKeepsWhatFullSyncAcknowledged) {
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        SChildReport report = CrashWhileInserting("FULL", 40 + seed * 7, seed);
        ASSERT_EQ(report.status, CFaultVfs::kCrashExitStatus);
        int acked = static_cast<int>(report.With("ack").size());
        int rows = Rows();
        EXPECT_GE(rows, acked) << "seed " << seed;
        EXPECT_LE(rows, acked + 1) << "seed " << seed;
        Remove();
    }
}
} // namespace
